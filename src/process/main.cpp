// Huevik: a colour picker. Creates the main window and runs the message loop, unless a copy
// already runs in this session: that copy brings its window back and this start ends.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "process/library_search.h"
#include "process/running_copy.h"

// An exception that escapes everything is a fault: the process ends at once, without the text
// the runtime would write to a console that a windowed program does not have.
namespace {
[[noreturn]] void EndAtOnce() { std::abort(); }
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::set_terminate(EndAtOnce);
  LibrarySearch::RestrictToProgramAndSystemFolders();
  try {
    if (RunningCopy::HandOverToRunningCopy()) return 0;
    Form1 form;
    form.Show();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (::IsDialogMessageW(form.hWnd(), &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
  } catch (...) {
    // No window could be made (no desktop, resources gone): end quietly, not with a crash.
    return 1;
  }
}
