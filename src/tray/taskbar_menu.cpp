#include "tray/taskbar_menu.h"

#include <utility>

#include "tray/tray_icon.h"
#include "win32/base_window.h"

namespace TaskbarMenu {

WNDPROC TaskbarPrevProc = nullptr;

namespace {

WNDPROC InstalledProcedure(HWND window) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
}

bool Hooked(HWND window) {
  WNDPROC installed = InstalledProcedure(window);
  return installed == TaskbarMenuWndProc ||
         (installed == TrayIcon::TrayWndProc && TrayIcon::TrayPrevProc == TaskbarMenuWndProc);
}

}  // namespace

// Hooking a window that already carries this procedure changes nothing, and the procedure
// never takes one of ours as its successor: a chain that leads back to itself never ends.
// The W forms keep the window Unicode: replacing its procedure through the A forms would turn
// every text message to it into the system's code page.
void HookTaskbarMenu(HWND window) {
  LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  ::SetWindowLongPtrW(window, GWL_STYLE, style | WS_SYSMENU | WS_MINIMIZEBOX);
  if (Hooked(window)) return;
  TaskbarPrevProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TaskbarMenuWndProc)));
}

LRESULT CALLBACK TaskbarMenuWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC next = TaskbarPrevProc;
  if (msg == WM_DESTROY && BaseWindow::SystemIsDestroying(window)) {
    // Unhooked as if never hooked, so a later window is hooked afresh.
    if (std::exchange(TaskbarPrevProc, nullptr))
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
  } else if (msg == WM_SYSCOMMAND && wp == SC_CLOSE) {
    ::SendMessageW(window, WM_CLOSE, 0, 0);
  }
  return next ? ::CallWindowProcW(next, window, msg, wp, lp) : ::DefWindowProcW(window, msg, wp, lp);
}

}  // namespace TaskbarMenu
