// The pen: press on it and drag anywhere on the screen; every move reads the pixel under the
// pointer as the screen shows it. The pen's container keeps the pointer from press to release,
// so the moves keep coming outside the window too. The hotkey: the screen freezes, and a click
// or Enter takes the colour under the pointer. Nothing waits for the hotkey but its
// registration: the system posts it to the main window whichever program has the focus.
#include "picking/picker.h"

#include <utility>

#include "colour/colour_forms.h"
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
  penPick_.reset();
  frozenPick_.reset();
  ::UnregisterHotKey(controls_.window, kPickHotkeyId);
}

void Picker::LetEndedPickGo() {
  if (frozenPick_ && frozenPick_->Ended()) frozenPick_.reset();
}

void Picker::StartPenDrag(bool magnified) {
  if (!penPick_) penPick_ = std::make_unique<PenPick>(*this, squareSide_);
  // The magnifier's copy comes first, so the first value is already the square's mean.
  if (magnified) penPick_->Magnify();
}

void Picker::OnPress(MouseButton button, POINT) {
  LetEndedPickGo();
  if (frozenPick_) return;  // one pick at a time
  StartPenDrag(button == MouseButton::Left);
  penPick_->Sample();
  if (button == MouseButton::Left) {
    controls_.pen.SetPicture(nullptr);
    controls_.pen.SetMousePointer(MousePointer::Custom);
  }
}

void Picker::OnMove(MouseButton, POINT) { FollowPen(); }

void Picker::FollowPen(std::optional<POINT> at) {
  if (!penPick_) return;
  penPick_->Sample(at);
  controls_.fields.RefreshSwatch();
  controls_.fields.RefreshValueField();
}

// The release of a drag that aimed takes the colour: the recent colours keep it.
void Picker::OnRelease(MouseButton, POINT) {
  if (!penPick_) return;
  const bool aimed = penPick_->Aimed();
  EndPenDrag();
  if (aimed) RecentColours::Take(controls_.fields.Current());
}

// The drag ends as if it had not been: the texts as they were, the value field's included,
// whatever form it is in, and the swatch as it was.
void Picker::CancelPenDrag() {
  if (!penPick_) return;
  const ColourFields::Shown shown = penPick_->ShownBefore();  // the pick goes below
  controls_.fields.Restore(shown);
  EndPenDrag();
  // The button is still down: without the capture, its moves and its release reach no pen drag.
  ::ReleaseCapture();
}

void Picker::EndPenDrag() {
  if (!penPick_) return;
  penPick_.reset();
  controls_.pen.SetMousePointer(MousePointer::Default);
  controls_.pen.SetPicture(controls_.penStore.Picture());
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

void Picker::StartOrEndFrozenPick(HWND frontAfter) {
  LetEndedPickGo();
  if (frozenPick_)
    frozenPick_->End(false);
  else if (!penPick_)  // a pen drag under way keeps going: one pick at a time
    frozenPick_ = FrozenPick::Start(*this, squareSide_, frontAfter);
}

void Picker::StartFrozenPickSoon(HWND frontBefore) {
  frontBeforeMenu_ = frontBefore;
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
    StartOrEndFrozenPick(std::exchange(frontBeforeMenu_, nullptr));
    return true;
  }
  if (msg != WM_HOTKEY || wp != kPickHotkeyId) return false;
  StartOrEndFrozenPick();
  return true;
}

Magnifier::ValueText Picker::StripText() const {
  return [&fields = controls_.fields, before = controls_.fields.Current()](COLORREF colour) {
    return fields.ValueText(colour) + L"  " + ContrastText(colour, before);
  };
}

void Picker::TakeColour(COLORREF colour) {
  ShowTakenColour(colour);
  RecentColours::Take(colour & 0xFFFFFF);
}

void Picker::ShowTakenColour(COLORREF colour) {
  controls_.fields.Show(colour & 0xFFFFFF);
  CopyTextToClipboard(controls_.window, controls_.fields.ValueField().Text());
}
