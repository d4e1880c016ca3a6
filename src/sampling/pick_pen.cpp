// The pick pen: press on the pen and drag anywhere on the screen; every move reads
// the pixel under the pointer as the screen shows it. The pen's container keeps the
// pointer from press to release, so the moves keep coming outside the window too.
#include <optional>
#include <utility>

#include "colour/recent_colours.h"
#include "mainwindow/form1.h"
#include "sampling/pick.h"
#include "sampling/screen_read.h"
#include "win32/display.h"
#include "win32/handles.h"

void Form1::Picture2_MouseDown(short button, short, float, float) {
  if (CurrentPick && CurrentPick->Ended()) CurrentPick.reset();
  if (CurrentPick && CurrentPick->Frozen()) return;  // one pick at a time
  if (!Picking) {
    Picking = kTrue;
    CurrentPick = Pick::WithPen(*this);
  }
  // The magnifier's copy comes first, so the first value is already the square's mean.
  if (button == kLeftButton && CurrentPick) CurrentPick->Magnify();
  PickPixel();
  if (button == kLeftButton) {
    Picture2.SetPicture(nullptr);
    Picture2.SetMousePointer(MousePointer::Custom);
  }
}

void Form1::Picture2_MouseMove(short, short, float, float) {
  if (!Picking) return;
  PickPixel();
  ShowSwatch();
  txthex_Change();
}

// The release takes the colour; the recent colours keep it.
void Form1::Picture2_MouseUp(short, short, float, float) {
  if (!Picking) return;
  EndPenDrag();
  RecentColours::Take(static_cast<COLORREF>(CurrentColour()));
}

// The drag ends as if it had not been: the texts as they were, the value field's
// included, whatever form it is in, and the swatch as it was.
void Form1::CancelPenDrag() {
  if (!CurrentPick) return;
  const Pick::ShownColour shown = CurrentPick->ShownBefore();  // the pick goes below
  Text1.SetText(shown.red);
  Text2.SetText(shown.green);
  Text3.SetText(shown.blue);
  // Its refresh would write today's form of the colour, not the text that showed.
  auto refresh = std::exchange(txthex.Change, nullptr);
  txthex.SetText(shown.value);
  txthex.Change = std::move(refresh);
  Picture1.SetBackColor(shown.swatch);
  EndPenDrag();
  // The button is still down: without the capture, its moves and its release reach no pen drag.
  ::ReleaseCapture();
}

void Form1::EndPenDrag() {
  if (!Picking) return;
  if (CurrentPick && !CurrentPick->Frozen()) CurrentPick.reset();
  Picking = kFalse;
  Picture2.SetMousePointer(MousePointer::Default);
  Picture2.SetPicture(Picture3.Picture());
}

void Form1::PickPixel() {
  if (!Picking) return;
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

void Form1::ShowSample(POINT hot, std::optional<COLORREF> colour) {
  if (!colour) {
    window_dc screen(nullptr);
    colour = ReadPixel(screen.get(), hot);
  }
  Components c = SplitColour(static_cast<std::int32_t>(*colour & 0xFFFFFF));
  Text1.SetText(DecimalText(c.red));
  Text2.SetText(DecimalText(c.green));
  Text3.SetText(DecimalText(c.blue));
}

void Form1::ShowPenColour(POINT hot, std::optional<COLORREF> colour) {
  ShowSample(hot, colour);
  ShowSwatch();
  txthex_Change();
}

COLORREF Form1::ReadPixel(HDC source, POINT at) {
  // A pixel read misses layered windows where the desktop is not composed: the copy reaches them.
  const DWORD rop = ScreenCopyRop();
  if (rop == SRCCOPY) {
    COLORREF colour = ::GetPixel(source, at.x, at.y);
    if (colour != CLR_INVALID) return colour;
  }
  // Some surfaces refuse a pixel read; a one-pixel copy still reaches the pixel, and
  // where even that fails the swatch's own corner still gives a colour.
  ::BitBlt(Picture1.hDC(), 0, 0, 1, 1, source, at.x, at.y, rop);
  Picture1.Refresh();
  return static_cast<COLORREF>(Picture1.Point(0, 0));
}
