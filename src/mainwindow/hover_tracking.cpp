// The hover timer, and the notifications that stand in for its ticks while it rests.
#include "mainwindow/hover_tracking.h"

#include <windowsx.h>

#include "win32/fail_fast.h"

#include "mainwindow/caption_buttons.h"

namespace HoverTracking {

HoverRectangle HoverRect{};
UINT_PTR HoverTimerId = 0;
bool NotForeground = false;

namespace {

CaptionButtons* g_buttons = nullptr;
HWND g_leaveAskedFor = nullptr;  // the window whose pointer leave the system has been asked to report

// The pointer query is the costly part of a tick (on Wine a few server and display round trips).
// With the normal pictures showing, the rules need no pointer; only whether the timer may rest
// does, and asked at this interval, it lets the timer rest at most that much later.
constexpr DWORD kRestCheckMs = 100;
DWORD g_restCheckedAt = 0;

using Buttons = CaptionButtons;

// ShowNormal could change nothing then, wherever the pointer is.
bool ButtonsShowNormal(const Buttons& form) { return form.ShowingNormal(); }

bool InFront(const Buttons& form) { return ::GetForegroundWindow() == form.Window().Window(); }

POINT Pointer() {
  POINT pointer{};
  ::GetCursorPos(&pointer);
  return pointer;
}

bool OverWindow(const Buttons& form, POINT pointer) {
  HWND window = form.Window().Window();
  if (!::IsWindowVisible(window) || ::IsIconic(window)) return false;
  RECT outer{};
  ::GetWindowRect(window, &outer);
  return ::PtInRect(&outer, pointer) != FALSE;
}

// For the window in front: with the pointer away and the normal pictures showing, a tick changes
// nothing until the pointer comes back, which the pointer's own messages report. Otherwise (pointer
// over the window, or a press dragged off it, or a rectangle gone stale) only ticks can tell when
// the pictures must change.
bool LaterTicksMayChangeSomething(const Buttons& form, POINT pointer) {
  return OverWindow(form, pointer) || !ButtonsShowNormal(form);
}

void Resume() {
  if (!HoverTimerId) HoverTimerId = ::SetTimer(nullptr, 0, 1, HoverTimerProc);
}

void Pause() {
  if (HoverTimerId) ::KillTimer(nullptr, HoverTimerId);
  HoverTimerId = 0;
  g_leaveAskedFor = nullptr;  // asked again at the next pointer move, whatever became of the request
}

// A tick now, and the timer runs on only while a later one could matter.
void Tick(Buttons& form, bool byTimer = false) {
  if (!InFront(form)) {
    form.ShowNormal();
    NotForeground = true;
    // Later ticks would only repeat this; the activation that brings the window to the front ticks.
    Pause();
    return;
  }
  NotForeground = false;
  if (byTimer && ButtonsShowNormal(form) && ::GetTickCount() - g_restCheckedAt < kRestCheckMs) return;
  const POINT pointer = Pointer();
  g_restCheckedAt = ::GetTickCount();
  if (!ButtonsShowNormal(form) && !PointerInside(HoverRect, pointer.x, pointer.y)) form.ShowNormal();
  if (LaterTicksMayChangeSomething(form, pointer))
    Resume();
  else
    Pause();
}

// Hidden or minimised, the window gets no pointer input and every tick put the normal pictures back.
void Rest(Buttons& form) {
  form.ShowNormal();
  NotForeground = InFront(form) ? false : true;
  Pause();
}

void AskForLeave(HWND window, LPARAM at) {
  RECT client{};
  ::GetClientRect(window, &client);
  // A move reported under capture may lie outside, where the request would fire at once.
  if (g_leaveAskedFor == window || !::PtInRect(&client, POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)})) return;
  TRACKMOUSEEVENT request{sizeof request, TME_LEAVE, window, 0};
  if (::TrackMouseEvent(&request)) g_leaveAskedFor = window;
}

bool IsPointerInput(UINT msg) { return msg == WM_MOUSEMOVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK); }

}  // namespace

void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_buttons) {
    Pause();
    return;
  }
  try {
    Tick(*g_buttons, true);
  } catch (...) {
    FailFast::End();
  }
}

void Start(CaptionButtons& buttons) {
  g_buttons = &buttons;
  HoverTimerId = ::SetTimer(nullptr, 0, 1, HoverTimerProc);
}

void Stop() {
  Pause();
  g_buttons = nullptr;
}

void UpdateHoverRect(HWND window) {
  RECT outer{};
  ::GetWindowRect(window, &outer);
  HoverRect = HoverRectFrom(outer);
}

void BeforeMessage(UINT msg) {
  // While the timer rests, the handlers read what a tick just now would have left.
  if (!g_buttons || !IsPointerInput(msg) || HoverTimerId) return;
  Tick(*g_buttons);
}

void AfterMessage(UINT msg, LPARAM lp) {
  if (!g_buttons) return;
  Buttons& form = *g_buttons;
  {
    if (IsPointerInput(msg)) {
      // A handler may have put up a picture that only a later tick takes down.
      if (!HoverTimerId && InFront(form) && LaterTicksMayChangeSomething(form, Pointer())) Resume();
      if (msg == WM_MOUSEMOVE) AskForLeave(form.Window().Window(), lp);
      return;
    }
    switch (msg) {
      case WM_MOUSELEAVE:
        g_leaveAskedFor = nullptr;
        Tick(form);
        break;
      case WM_ACTIVATE:
      case WM_ACTIVATEAPP:
        Tick(form);
        break;
      case WM_WINDOWPOSCHANGED:  // shown, hidden, minimised, restored or moved
        if (!::IsWindowVisible(form.Window().Window()) || ::IsIconic(form.Window().Window()))
          Rest(form);
        else
          Tick(form);
        break;
      default:
        break;
    }
  }
}

}  // namespace HoverTracking
