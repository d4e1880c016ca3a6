#include "tray/taskbar_menu.h"

namespace 响应任务栏菜单 {

WNDPROC TaskbarPrevProc = nullptr;

void HookTaskbarMenu(HWND window) {
  LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  ::SetWindowLongPtrA(window, GWL_STYLE, style | WS_SYSMENU | WS_MINIMIZEBOX);
  TaskbarPrevProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TaskbarMenuWndProc)));
}

LRESULT CALLBACK TaskbarMenuWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY)
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TaskbarPrevProc));
  else if (msg == WM_SYSCOMMAND && wp == SC_CLOSE)
    ::SendMessageA(window, WM_CLOSE, 0, 0);
  return ::CallWindowProcA(TaskbarPrevProc, window, msg, wp, lp);
}

}  // namespace 响应任务栏菜单
