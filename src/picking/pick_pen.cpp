// The pick pen: press on the pen and drag anywhere on the screen; every move reads
// the pixel under the pointer as the screen shows it. The pen's container keeps the
// pointer from press to release, so the moves keep coming outside the window too.
#include <optional>
#include <utility>

#include "colour/recent_colours.h"
#include "mainwindow/main_window.h"
#include "picking/pick.h"
#include "picking/screen_read.h"
#include "win32/display.h"
#include "win32/handles.h"

void MainWindow::OnPenPress(short button, short, float, float) {
  if (CurrentPick && CurrentPick->Ended()) CurrentPick.reset();
  if (CurrentPick && CurrentPick->Frozen()) return;  // one pick at a time
  if (!PenDragging) {
    PenDragging = true;
    CurrentPick = Pick::WithPen(*this);
  }
  // The magnifier's copy comes first, so the first value is already the square's mean.
  if (button == kLeftButton && CurrentPick) CurrentPick->Magnify();
  SamplePointer();
  if (button == kLeftButton) {
    Pen.SetPicture(nullptr);
    Pen.SetMousePointer(MousePointer::Custom);
  }
}

void MainWindow::OnPenMove(short, short, float, float) {
  if (!PenDragging) return;
  SamplePointer();
  ShowSwatch();
  RefreshValueField();
}

// The release takes the colour; the recent colours keep it.
void MainWindow::OnPenRelease(short, short, float, float) {
  if (!PenDragging) return;
  EndPenDrag();
  RecentColours::Take(static_cast<COLORREF>(CurrentColour()));
}

// The drag ends as if it had not been: the texts as they were, the value field's
// included, whatever form it is in, and the swatch as it was.
void MainWindow::CancelPenDrag() {
  if (!CurrentPick) return;
  const Pick::ShownColour shown = CurrentPick->ShownBefore();  // the pick goes below
  RedField.SetText(shown.red);
  GreenField.SetText(shown.green);
  BlueField.SetText(shown.blue);
  // Its refresh would write today's form of the colour, not the text that showed.
  auto refresh = std::exchange(ValueField.Change, nullptr);
  ValueField.SetText(shown.value);
  ValueField.Change = std::move(refresh);
  Swatch.SetBackColor(shown.swatch);
  EndPenDrag();
  // The button is still down: without the capture, its moves and its release reach no pen drag.
  ::ReleaseCapture();
}

void MainWindow::EndPenDrag() {
  if (!PenDragging) return;
  if (CurrentPick && !CurrentPick->Frozen()) CurrentPick.reset();
  PenDragging = false;
  Pen.SetMousePointer(MousePointer::Default);
  Pen.SetPicture(PenStore.Picture());
}

void MainWindow::SamplePointer() {
  if (!PenDragging) return;
  // Physical pixels throughout: the pointer and the screen it is over, on any monitor
  // at any scale, whatever this process was declared as.
  PhysicalPixelScope physical;
  POINT hot{};
  ::GetCursorPos(&hot);
  if (hot.x == LastSampleX && hot.y == LastSampleY) return;
  LastSampleX = hot.x;
  LastSampleY = hot.y;
  // The screen as shown, not the surface of the window under the pointer: where the
  // desktop is composed, a window drawn by the graphics card holds nothing in its own
  // surface, and a window that lets the pointer through is shown but not found under
  // it. One read per move: the magnifier's copy, when it shows, holds the pixel too.
  ShowSample(hot, CurrentPick ? CurrentPick->Follow(hot) : std::nullopt);
}

void MainWindow::ShowSample(POINT hot, std::optional<COLORREF> colour) {
  if (!colour) {
    window_dc screen(nullptr);
    colour = ReadPixel(screen.get(), hot);
  }
  Components c = SplitColour(static_cast<std::int32_t>(*colour & 0xFFFFFF));
  RedField.SetText(DecimalText(c.red));
  GreenField.SetText(DecimalText(c.green));
  BlueField.SetText(DecimalText(c.blue));
}

void MainWindow::ShowPenColour(POINT hot, std::optional<COLORREF> colour) {
  ShowSample(hot, colour);
  ShowSwatch();
  RefreshValueField();
}

COLORREF MainWindow::ReadPixel(HDC source, POINT at) {
  // A pixel read misses layered windows where the desktop is not composed: the copy reaches them.
  const DWORD rop = ScreenCopyRop();
  if (rop == SRCCOPY) {
    COLORREF colour = ::GetPixel(source, at.x, at.y);
    if (colour != CLR_INVALID) return colour;
  }
  // Some surfaces refuse a pixel read; a one-pixel copy still reaches the pixel, and
  // where even that fails the swatch's own corner still gives a colour.
  ::BitBlt(Swatch.hDC(), 0, 0, 1, 1, source, at.x, at.y, rop);
  Swatch.Refresh();
  return static_cast<COLORREF>(Swatch.Point(0, 0));
}
