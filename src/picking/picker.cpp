// The pen: press on it and drag anywhere on the screen; every move reads the pixel under the
// pointer as the screen shows it. The pen's container keeps the pointer from press to release,
// so the moves keep coming outside the window too. The hotkey: the screen freezes, and a click
// or Enter takes the colour under the pointer. Nothing waits for the hotkey but its
// registration: the system posts it to the main window whichever program has the focus.
#include "picking/picker.h"

#include "colour/recent_colours.h"
#include "picking/screen_read.h"
#include "win32/clipboard.h"
#include "win32/display.h"
#include "win32/handles.h"

namespace {
constexpr UINT_PTR kMenuPickTimer = 0x4856;
// The tray menu's selection fades out where the user's settings say so: the frozen copy
// waits until it is gone, and until the windows under the menu have drawn themselves again.
constexpr UINT kAfterMenuMs = 150, kAfterFadingMenuMs = 400;
}  // namespace

Picker::Picker(Controls controls) : controls_(controls) { controls_.pen.SetPointerHandler(this); }

Picker::~Picker() {
  current_.reset();
  ::UnregisterHotKey(controls_.window, kPickHotkeyId);
}

void Picker::LetEndedPickGo() {
  if (current_ && current_->Ended()) current_.reset();
}

void Picker::StartPenDrag(bool magnified) {
  if (!penDragging_) {
    penDragging_ = true;
    current_ = Pick::WithPen(*this);
  }
  // The magnifier's copy comes first, so the first value is already the square's mean.
  if (magnified && current_) current_->Magnify();
}

void Picker::OnPress(MouseButton button, POINT) {
  LetEndedPickGo();
  if (current_ && current_->Frozen()) return;  // one pick at a time
  StartPenDrag(button == MouseButton::Left);
  SamplePointer();
  if (button == MouseButton::Left) {
    controls_.pen.SetPicture(nullptr);
    controls_.pen.SetMousePointer(MousePointer::Custom);
  }
}

void Picker::OnMove(MouseButton, POINT) { FollowPen(); }

void Picker::FollowPen() {
  if (!penDragging_) return;
  SamplePointer();
  controls_.fields.RefreshSwatch();
  controls_.fields.RefreshValueField();
}

// The release takes the colour; the recent colours keep it.
void Picker::OnRelease(MouseButton, POINT) {
  if (!penDragging_) return;
  EndPenDrag();
  RecentColours::Take(controls_.fields.Current());
}

// The drag ends as if it had not been: the texts as they were, the value field's included,
// whatever form it is in, and the swatch as it was.
void Picker::CancelPenDrag() {
  if (!current_) return;
  const ColourFields::Shown shown = current_->ShownBefore();  // the pick goes below
  controls_.fields.Restore(shown);
  EndPenDrag();
  // The button is still down: without the capture, its moves and its release reach no pen drag.
  ::ReleaseCapture();
}

void Picker::EndPenDrag() {
  if (!penDragging_) return;
  if (current_ && !current_->Frozen()) current_.reset();
  penDragging_ = false;
  controls_.pen.SetMousePointer(MousePointer::Default);
  controls_.pen.SetPicture(controls_.penStore.Picture());
}

void Picker::SamplePointer() {
  if (!penDragging_) return;
  // Physical pixels throughout: the pointer and the screen it is over, on any monitor at any
  // scale, whatever this process was declared as.
  PhysicalPixelScope physical;
  POINT hot{};
  ::GetCursorPos(&hot);
  if (hot.x == lastSample_.x && hot.y == lastSample_.y) return;
  lastSample_ = hot;
  // The screen as shown, not the surface of the window under the pointer: where the desktop is
  // composed, a window drawn by the graphics card holds nothing in its own surface, and a window
  // that lets the pointer through is shown but not found under it. One read per move: the
  // magnifier's copy, when it shows, holds the pixel too.
  ShowSample(hot, current_ ? current_->Follow(hot) : std::nullopt);
}

void Picker::ShowSample(POINT hot, std::optional<COLORREF> colour) {
  if (!colour) {
    window_dc screen(nullptr);
    colour = ReadPixel(screen.get(), hot);
  }
  controls_.fields.ShowComponents(*colour);
}

void Picker::ShowPenColour(POINT hot, std::optional<COLORREF> colour) {
  ShowSample(hot, colour);
  controls_.fields.RefreshSwatch();
  controls_.fields.RefreshValueField();
}

COLORREF Picker::ReadPixel(HDC source, POINT at) {
  // A pixel read misses layered windows where the desktop is not composed: the copy reaches them.
  const DWORD rop = ScreenCopyRop();
  if (rop == SRCCOPY) {
    COLORREF colour = ::GetPixel(source, at.x, at.y);
    if (colour != CLR_INVALID) return colour;
  }
  // Some surfaces refuse a pixel read; a one-pixel copy still reaches the pixel, and where even
  // that fails the swatch's own corner still gives a colour.
  PictureBox& swatch = controls_.fields.Swatch();
  ::BitBlt(swatch.hDC(), 0, 0, 1, 1, source, at.x, at.y, rop);
  swatch.Refresh();
  return swatch.ColourAt({0, 0}).value_or(0);
}

void Picker::RegisterHotkey() {
  if (hotkeyRegistered_) return;
  hotkeyRegistered_ =
      ::RegisterHotKey(controls_.window, kPickHotkeyId, kPickHotkeyModifiers | MOD_NOREPEAT, kPickHotkeyKey) != FALSE;
}

void Picker::UnregisterHotkey() {
  if (hotkeyRegistered_ && ::UnregisterHotKey(controls_.window, kPickHotkeyId)) hotkeyRegistered_ = false;
}

void Picker::StartOrEndFrozenPick() {
  LetEndedPickGo();
  if (!current_)
    current_ = Pick::OnFrozenScreen(*this);
  else if (current_->Frozen())
    current_->EndFrozen(false);
  // A pen drag under way keeps going: one pick at a time.
}

void Picker::StartFrozenPickSoon() {
  BOOL fading = FALSE;
  ::SystemParametersInfoW(SPI_GETSELECTIONFADE, 0, &fading, 0);
  ::SetTimer(controls_.window, kMenuPickTimer, fading ? kAfterFadingMenuMs : kAfterMenuMs, nullptr);
}

// Whoever sent it: an end lets go only of a pick that has ended, and the hotkey or the timer do
// what the user's key would.
bool Picker::OnMessage(UINT msg, WPARAM wp) {
  if (msg == kPickEnded) {
    LetEndedPickGo();
    return true;
  }
  if (msg == WM_TIMER && wp == kMenuPickTimer) {
    ::KillTimer(controls_.window, kMenuPickTimer);
  } else if (msg != WM_HOTKEY || wp != kPickHotkeyId) {
    return false;
  }
  StartOrEndFrozenPick();
  return true;
}

void Picker::TakeColour(COLORREF colour) {
  ShowTakenColour(colour);
  RecentColours::Take(colour & 0xFFFFFF);
}

void Picker::ShowTakenColour(COLORREF colour) {
  controls_.fields.Show(colour & 0xFFFFFF);
  CopyTextToClipboard(controls_.window, controls_.fields.ValueField().Text());
}
