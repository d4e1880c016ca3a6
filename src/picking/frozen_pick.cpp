// A pick from anywhere: the hotkey freezes the screen, and a click or Enter takes the
// colour under the pointer into the main window, the clipboard and the recent colours.
// Nothing waits for the hotkey but its registration: the system posts it to the main
// window whichever program has the focus.
#include "colour/colour_value.h"
#include "colour/recent_colours.h"
#include "mainwindow/main_window.h"
#include "picking/pick.h"
#include "win32/clipboard.h"

namespace {
constexpr UINT_PTR kMenuPickTimer = 0x4856;
// The tray menu's selection fades out where the user's settings say so: the frozen copy
// waits until it is gone, and until the windows under the menu have drawn themselves again.
constexpr UINT kAfterMenuMs = 150, kAfterFadingMenuMs = 400;
}  // namespace

void MainWindow::RegisterPickHotkey() {
  if (PickHotkeyRegistered) return;
  PickHotkeyRegistered =
      ::RegisterHotKey(hWnd(), kPickHotkeyId, kPickHotkeyModifiers | MOD_NOREPEAT, kPickHotkeyKey) != FALSE;
}

void MainWindow::StartOrEndFrozenPick() {
  if (CurrentPick && CurrentPick->Ended()) CurrentPick.reset();
  if (!CurrentPick) {
    CurrentPick = Pick::OnFrozenScreen(*this);
  } else if (CurrentPick->Frozen()) {
    CurrentPick->EndFrozen(false);
  }
  // A pen drag under way keeps going: one pick at a time.
}

void MainWindow::StartFrozenPickSoon() {
  BOOL fading = FALSE;
  ::SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &fading, 0);
  ::SetTimer(hWnd(), kMenuPickTimer, fading ? kAfterFadingMenuMs : kAfterMenuMs, nullptr);
}

bool MainWindow::IsPickMessage(UINT msg, WPARAM wp) {
  return (msg == WM_HOTKEY && wp == kPickHotkeyId) || msg == kPickEnded || (msg == WM_TIMER && wp == kMenuPickTimer);
}

// Whoever sent it: an end destroys only a pick that has ended, and the hotkey or the timer
// do what the user's key would.
void MainWindow::OnPickMessage(UINT msg) {
  if (msg == WM_TIMER) ::KillTimer(hWnd(), kMenuPickTimer);
  if (msg == kPickEnded) {
    if (CurrentPick && CurrentPick->Ended()) CurrentPick.reset();
    return;
  }
  StartOrEndFrozenPick();
}

void MainWindow::TakeColour(COLORREF colour) {
  ShowTakenColour(colour);
  RecentColours::Take(colour & 0xFFFFFF);
}

void MainWindow::ShowTakenColour(COLORREF colour) {
  ShowColour(static_cast<std::int32_t>(colour & 0xFFFFFF));
  CopyTextToClipboard(hWnd(), ValueField.Text());
}
