// Hover tracking for the caption buttons: nothing tells a button that the pointer
// left it, so a thread timer checks the pointer against the window's rectangle.
// The timer runs only while a tick could change something; the window's own
// notifications (pointer leave, activation, show, hide, minimise, restore) run the
// same rules at once and pause or resume it, so at rest nothing wakes the program.
#pragma once
#include <windows.h>

#include "mainwindow/frame_math.h"

class MainWindow;

namespace HoverTracking {
extern HoverRectangle HoverRect;  // the main window in screen pixels, unrounded
extern UINT_PTR HoverTimerId;     // the running hover timer, 0 while it rests
extern bool NotForeground;
void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR, DWORD);

// A message to the main window, before and after the window handles it.
void BeforeMessage(MainWindow& form, UINT msg);
void AfterMessage(MainWindow& form, UINT msg, LPARAM lp);
}  // namespace HoverTracking
