// Makes the borderless main window answer its taskbar button's menu: Close there
// closes the window the way its own close button does.
#pragma once
#include <windows.h>

namespace TaskbarMenu {
extern WNDPROC TaskbarPrevProc;
void HookTaskbarMenu(HWND window);
LRESULT CALLBACK TaskbarMenuWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
}  // namespace TaskbarMenu
