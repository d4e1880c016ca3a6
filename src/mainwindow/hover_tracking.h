// Hover tracking for the caption buttons: nothing tells a button that the pointer
// left it, so a thread timer checks the pointer against the window's rectangle.
// The timer runs only while a tick could change something; the window's own
// notifications (pointer leave, activation, show, hide, minimise, restore) run the
// same rules at once and pause or resume it, so at rest nothing wakes the program.
#pragma once
#include <windows.h>

#include "mainwindow/frame_math.h"

class CaptionButtons;

namespace HoverTracking {
extern HoverRectangle HoverRect;  // the main window in screen pixels, unrounded
extern UINT_PTR HoverTimerId;     // the running hover timer, 0 while it rests
extern bool NotForeground;
void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR, DWORD);

// The buttons whose looks the tracking keeps, from the start of the tracking (the timer's first
// run) until Stop; the timer does nothing without them.
void Start(CaptionButtons& buttons);
void Stop();
// Takes the window's rectangle as it is now.
void UpdateHoverRect(HWND window);
// A message to the main window, before and after the window handles it.
void BeforeMessage(UINT msg);
void AfterMessage(UINT msg, LPARAM lp);
}  // namespace HoverTracking
