// The pick pen: press on the pen and drag anywhere on the screen; every move reads
// the pixel under the pointer as the screen shows it. The pen's container keeps the
// pointer from press to release, so the moves keep coming outside the window too.
#include <optional>

#include "mainwindow/form1.h"
#include "sampling/screen_read.h"
#include "win32/display.h"
#include "win32/handles.h"

void Form1::Picture2_MouseDown(short button, short, float, float) {
  if (!Picking) Picking = kTrue;
  PickPixel();
  if (button == kLeftButton) {
    Picture2.SetPicture(nullptr);
    Picture2.SetMousePointer(MousePointer::Custom);
    StartPrecisionPicking();
  }
}

void Form1::Picture2_MouseMove(short, short, float, float) {
  if (!Picking) return;
  PickPixel();
  ShowSwatch();
  txthex_Change();
}

void Form1::Picture2_MouseUp(short, short, float, float) { EndPenDrag(); }

void Form1::EndPenDrag() {
  if (!Picking) return;
  EndPrecisionPicking();
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
  std::optional<COLORREF> colour = PenMagnifier.Follow(hot);
  if (!colour) {
    window_dc screen(nullptr);
    colour = ReadPixel(screen.get(), hot);
  }
  Components c = SplitColour(static_cast<std::int32_t>(*colour & 0xFFFFFF));
  Text1.SetText(DecimalText(c.red));
  Text2.SetText(DecimalText(c.green));
  Text3.SetText(DecimalText(c.blue));
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
