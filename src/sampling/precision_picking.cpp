// The keys of a pen drag: Escape ends a drag with any button. With the left button,
// precision picking besides: the magnifier beside the pointer, the arrow keys
// stepping the pointer by single pixels, and + and - (and the wheel, which reaches the
// form) sizing the square the colour is the mean of.
//
// Keys go to the window with the focus, which during a drag may be any control, or
// a window of another program where the platform routes keys by the pointer. A
// low-level keyboard hook, set only for the drag, takes those keys wherever they go
// and posts each press to the pen's container, which holds the pointer.
// Moving the pointer from the program ends the platform's own hold on it on some
// systems, so from the first step on a low-level mouse hook brings the moves and the
// release to the container too. Whatever arrives after the drag ended does nothing.
// Those systems may also report the pointer at a step's position again, late, after
// newer steps: such an echo is not the user's hand, and is neither sampled nor stepped
// from.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "win32/display.h"
#include "win32/fail_fast.h"
#include "win32/handles.h"

namespace {

enum : UINT {
  kPenKey = WM_APP + 0x120,  // wParam: virtual key, lParam: Shift held
  kPenMoved,
  kPenReleased,
};
constexpr UINT_PTR kWatchId = 1;

HWND g_penContainer = nullptr;
bool g_precise = false;  // a left-button drag: the arrows, + and - are the pen's too
unique_hook g_keyHook;
unique_hook g_mouseHook;
bool g_movePending = false;  // one posted move at a time: each reads the pointer anew

// Where this drag's latest steps put the pointer, the newest at g_stepCount - 1.
std::array<POINT, 64> g_steps{};
size_t g_stepCount = 0;

POINT LatestStep() { return g_steps[(g_stepCount - 1) % g_steps.size()]; }

bool IsEcho(POINT at) {
  if (g_stepCount == 0) return false;
  POINT latest = LatestStep();
  if (at.x == latest.x && at.y == latest.y) return false;
  size_t kept = std::min(g_stepCount, g_steps.size());
  return std::any_of(g_steps.begin(), g_steps.begin() + static_cast<std::ptrdiff_t>(kept),
                     [&](POINT p) { return p.x == at.x && p.y == at.y; });
}

POINT PointerNow() {
  POINT at{};
  ::GetCursorPos(&at);
  return at;
}

LRESULT CALLBACK PenKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)) {
    DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode;
    bool precise = magnifier::ArrowStep(key, false) || magnifier::SquareKeyRings(key);
    if (key == VK_ESCAPE || (g_precise && precise)) {
      ::PostMessageW(g_penContainer, kPenKey, key, ::GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0);
      return 1;
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK PenPointer(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == WM_MOUSEMOVE && !g_movePending)
    g_movePending = ::PostMessageW(g_penContainer, kPenMoved, 0, 0) != FALSE;
  if (code == HC_ACTION && wp == WM_LBUTTONUP) ::PostMessageW(g_penContainer, kPenReleased, 0, 0);
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

// The pen's container takes what the hooks post, and whatever takes the pointer
// from it ends the drag on screen, so the magnifier goes even when no release comes.
LRESULT CALLBACK WatchPenDrag(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto& form = *reinterpret_cast<Form1*>(data);
  bool dragging = form.Picking && ::GetCapture() == window;
  switch (msg) {
    case kPenKey:
      form.PenKey(static_cast<UINT>(wp), lp != 0);
      return 0;
    case kPenMoved:
      g_movePending = false;
      if (dragging && !IsEcho(PointerNow())) form.Picture2.MouseMove(kLeftButton, 0, 0, 0);
      return 0;
    case kPenReleased:
      // The release went elsewhere: end the drag as the release would have.
      if (dragging) {
        POINT at = PointerNow();
        ::ScreenToClient(window, &at);
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      }
      return 0;
    case WM_CAPTURECHANGED:
      form.EndPrecisionPicking();
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, msg, wp, lp);
}

RECT VirtualScreen() {
  int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

void Form1::StartPrecisionPicking(bool magnify) {
  g_penContainer = Picture2.Parent().Window();
  g_stepCount = 0;
  g_movePending = false;  // a move posted at the end of the last drag never reached the watch
  ::SetWindowSubclass(g_penContainer, FailFast::GuardedSubclass<WatchPenDrag>, kWatchId,
                      reinterpret_cast<DWORD_PTR>(this));
  if (!g_keyHook) g_keyHook.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, PenKeys, App::Instance(), 0));
  if (!magnify) return;
  g_precise = true;
  // In the pen's own pixels: the screen the magnifier holds for the drag is read in them.
  PhysicalPixelScope physical;
  PenMagnifier.Show(hWnd(), PointerNow());
}

// What the hooks posted and arrives after this finds the container's own procedure, which ignores it.
void Form1::EndPrecisionPicking() {
  PenMagnifier.Hide();
  g_precise = false;
  g_keyHook.reset();
  g_mouseHook.reset();
  if (g_penContainer) ::RemoveWindowSubclass(g_penContainer, FailFast::GuardedSubclass<WatchPenDrag>, kWatchId);
}

bool Form1::PenDragUnderWay() const { return Picking && ::GetCapture() == Picture2.Parent().Window(); }

// Whoever posted the key, it does nothing without a drag; and but for Escape, nothing
// without the magnifier.
void Form1::PenKey(UINT virtualKey, bool shift) {
  if (!PenDragUnderWay()) return;
  if (virtualKey == VK_ESCAPE) return CancelPenDrag();
  if (auto rings = magnifier::SquareKeyRings(virtualKey)) return ResizePenSquare(*rings);
  PenStep(virtualKey, shift);
}

void Form1::PenWheel(int wheelDelta) {
  if (PenDragUnderWay() && PenMagnifier.Shown()) ResizePenSquare(PenMagnifier.WheelRings(wheelDelta));
}

// The pointer rests: the new square's mean shows at once, from a new copy at the same hot spot.
void Form1::ResizePenSquare(int rings) {
  PhysicalPixelScope physical;
  if (!PenMagnifier.Grow(rings)) return;
  ShowSample(PenMagnifier.HotSpot(), PenMagnifier.Colour());
  ShowSwatch();
  txthex_Change();
}

void Form1::PenStep(UINT virtualKey, bool shift) {
  auto step = magnifier::ArrowStep(virtualKey, shift);
  if (!step || !PenMagnifier.Shown()) return;
  if (!g_mouseHook) g_mouseHook.reset(::SetWindowsHookExW(WH_MOUSE_LL, PenPointer, App::Instance(), 0));
  POINT at = PointerNow();
  if (IsEcho(at)) at = LatestStep();
  POINT to = magnifier::StepWithin(at, *step, VirtualScreen());
  g_steps[g_stepCount++ % g_steps.size()] = to;
  ::SetCursorPos(to.x, to.y);
  Picture2_MouseMove(kLeftButton, 0, 0, 0);
}
