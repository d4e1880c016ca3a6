// Huevik: a colour picker. Creates the main window and runs the message loop, unless a copy
// already runs in this session: that copy brings its window back and this start ends.
#include <windows.h>

#include <exception>
#include <memory>

#include "mainwindow/main_window.h"
#include "process/program.h"
#include "win32/fail_fast.h"

// An exception that escapes everything (a noexcept function's included) is a fault like one that
// reaches a window procedure: the icon goes and the process ends at once, without the text the
// runtime would write to a console that a windowed program does not have.
namespace {
[[noreturn]] void EndAsAFault() { FailFast::End(); }
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::set_terminate(EndAsAFault);
  return RunProgram([] { return std::make_unique<MainWindow>(); });
}
