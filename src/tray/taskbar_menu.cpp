#include "tray/taskbar_menu.h"

#include "tray/tray_icon.h"

namespace 响应任务栏菜单 {

WNDPROC TaskbarPrevProc = nullptr;

namespace {

WNDPROC InstalledProcedure(HWND window) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
}

bool Hooked(HWND window) {
  WNDPROC installed = InstalledProcedure(window);
  return installed == TaskbarMenuWndProc ||
         (installed == 托盘图标::TrayWndProc && 托盘图标::TrayPrevProc == TaskbarMenuWndProc);
}

}  // namespace

// Hooking a window that already carries this procedure changes nothing, and the procedure
// never takes one of ours as its successor: a chain that leads back to itself never ends.
void HookTaskbarMenu(HWND window) {
  LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  ::SetWindowLongPtrA(window, GWL_STYLE, style | WS_SYSMENU | WS_MINIMIZEBOX);
  if (Hooked(window)) return;
  if (InstalledProcedure(window) == 托盘图标::TrayWndProc) {
    // The tray procedure is in front already: go behind it, where startup would have put this one.
    TaskbarPrevProc = 托盘图标::TrayPrevProc;
    托盘图标::TrayPrevProc = TaskbarMenuWndProc;
    return;
  }
  TaskbarPrevProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TaskbarMenuWndProc)));
}

LRESULT CALLBACK TaskbarMenuWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC next = TaskbarPrevProc;
  if (msg == WM_DESTROY) {
    // Unhooked as if never hooked, so a later window is hooked afresh.
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    TaskbarPrevProc = nullptr;
  } else if (msg == WM_SYSCOMMAND && wp == SC_CLOSE) {
    ::SendMessageA(window, WM_CLOSE, 0, 0);
  }
  return next ? ::CallWindowProcA(next, window, msg, wp, lp) : ::DefWindowProcA(window, msg, wp, lp);
}

}  // namespace 响应任务栏菜单
