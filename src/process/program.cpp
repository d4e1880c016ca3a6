#include "process/program.h"

#include <windows.h>

#include "mainwindow/main_window.h"
#include "process/running_copy.h"
#include "tray/tray_icon.h"
#include "win32/fail_fast.h"
#include "win32/library_search.h"

namespace {
// An icon left behind would answer for a program that is gone.
void RemoveIconAtFault() noexcept { TrayIcon::RemoveTrayIconAtFault(); }
}  // namespace

int RunProgram(MainWindowMaker makeMainWindow) {
  LibrarySearch::RestrictToProgramAndSystemFolders();
  FailFast::SetLastWords(RemoveIconAtFault);
  std::unique_ptr<MainWindow> form;
  try {
    if (RunningCopy::HandOverToRunningCopy()) return 0;
    form = makeMainWindow();
    form->Show();
  } catch (const ControlError&) {
    // No window could be made (no desktop, resources gone): end quietly, not with a crash.
    return 1;
  }
  // A WM_QUIT, which any program may post to this thread, ends nothing: only Exit ends the program.
  try {
    MSG msg;
    for (;;) {
      const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
      if (got == -1) FailFast::End();
      if (got == 0 || ::IsDialogMessageW(form->hWnd(), &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  } catch (...) {
    FailFast::End();
  }
}
