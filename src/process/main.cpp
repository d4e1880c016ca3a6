// Huevik: a colour picker. Creates the main window and runs the message loop, unless a copy
// already runs in this session: that copy brings its window back and this start ends.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "process/program.h"

// An exception that escapes everything is a fault: the process ends at once, as it would after
// the runtime's usual message, which needs the name demangler and would be most of the exe's code.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The runtime raises its own standard errors from one object that brings a second string
// implementation and more with it, about 80 KiB. These raise the same where the error carries
// no text, and a FormError in place of a text-carrying one: every handler catches them all.
namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char*) { throw FormError("length error"); }
void __throw_logic_error(const char*) { throw FormError("logic error"); }
void __throw_out_of_range_fmt(const char*, ...) { throw FormError("out of range"); }
}  // namespace std

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram([] { return std::make_unique<Form1>(); });
}
