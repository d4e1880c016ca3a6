// Hover tracking for the caption buttons: nothing tells a button that the pointer
// left it, so a thread timer checks the pointer against the window's rectangle.
// The timer runs only while a tick could change something; the window's own
// notifications (pointer leave, activation, show, hide, minimise, restore) run the
// same rules at once and pause or resume it, so at rest nothing wakes the program.
#pragma once
#include <windows.h>

#include "mainwindow/frame_math.h"

class Form1;

namespace 圆角窗体 {
extern HoverRectangle HoverRect;  // the main window in screen pixels, unrounded
extern UINT_PTR HoverTimerId;     // the running hover timer, 0 while it rests
extern short NotForeground;
void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR, DWORD);

// A message to the main window, before and after the window handles it.
void BeforeMessage(Form1& form, UINT msg);
void AfterMessage(Form1& form, UINT msg, LPARAM lp);
}  // namespace 圆角窗体
