// A pick from anywhere: the hotkey freezes the screen, and a click or Enter takes the
// colour under the pointer into the main window, the clipboard and the recent colours.
// Nothing waits for the hotkey but its registration: the system posts it to the main
// window whichever program has the focus.
#include "colour/colour_value.h"
#include "colour/recent_colours.h"
#include "mainwindow/form1.h"
#include "sampling/pick.h"
#include "win32/clipboard.h"

namespace {
constexpr UINT_PTR kMenuPickTimer = 0x4856;
// The tray menu's selection fades out where the user's settings say so: the frozen copy
// waits until it is gone, and until the windows under the menu have drawn themselves again.
constexpr UINT kAfterMenuMs = 150, kAfterFadingMenuMs = 400;
}  // namespace

void Form1::RegisterPickHotkey() {
  if (PickHotkeyRegistered) return;
  PickHotkeyRegistered =
      ::RegisterHotKey(hWnd(), kPickHotkeyId, kPickHotkeyModifiers | MOD_NOREPEAT, kPickHotkeyKey) != FALSE;
}

void Form1::StartOrEndFrozenPick() {
  if (CurrentPick && CurrentPick->Ended()) CurrentPick.reset();
  if (!CurrentPick) {
    CurrentPick = Pick::OnFrozenScreen(*this);
  } else if (CurrentPick->Frozen()) {
    CurrentPick->EndFrozen(false);
  }
  // A pen drag under way keeps going: one pick at a time.
}

void Form1::StartFrozenPickSoon() {
  BOOL fading = FALSE;
  ::SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &fading, 0);
  ::SetTimer(hWnd(), kMenuPickTimer, fading ? kAfterFadingMenuMs : kAfterMenuMs, nullptr);
}

bool Form1::IsPickMessage(UINT msg, WPARAM wp) {
  return (msg == WM_HOTKEY && wp == kPickHotkeyId) || msg == kPickEnded || (msg == WM_TIMER && wp == kMenuPickTimer);
}

// Whoever sent it: an end destroys only a pick that has ended, and the hotkey or the timer
// do what the user's key would.
void Form1::OnPickMessage(UINT msg) {
  if (msg == WM_TIMER) ::KillTimer(hWnd(), kMenuPickTimer);
  if (msg == kPickEnded) {
    if (CurrentPick && CurrentPick->Ended()) CurrentPick.reset();
    return;
  }
  StartOrEndFrozenPick();
}

void Form1::TakeColour(COLORREF colour) {
  ShowTakenColour(colour);
  RecentColours::Take(colour & 0xFFFFFF);
}

void Form1::ShowTakenColour(COLORREF colour) {
  zhuan(static_cast<std::int32_t>(colour & 0xFFFFFF));
  CopyTextToClipboard(hWnd(), txthex.Text());
}
