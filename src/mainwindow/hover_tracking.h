// Hover tracking for the caption buttons: nothing tells a button that the pointer
// left it, so a thread timer checks the pointer against the window's rectangle.
#pragma once
#include <windows.h>

#include "mainwindow/frame_math.h"

namespace 圆角窗体 {
extern HoverRectangle HoverRect;  // the main window in screen pixels, unrounded
extern UINT_PTR HoverTimerId;
extern short NotForeground;
void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR, DWORD);
}  // namespace 圆角窗体
