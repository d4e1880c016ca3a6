// The pick pen: press on the pen and drag anywhere on the screen; every move reads
// the pixel under the pointer. The pen's container keeps the pointer from press to
// release, so the moves keep coming outside the window too.
#include "formlayer/display.h"
#include "formlayer/handles.h"
#include "mainwindow/form1.h"

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
  // Physical pixels throughout: the pointer, the window under it and its pixel, on any
  // monitor at any scale, whatever the window under the pointer was declared as.
  PhysicalPixelScope physical;
  POINT screen{};
  ::GetCursorPos(&screen);
  if (screen.x == LastSampleX && screen.y == LastSampleY) return;
  LastSampleX = screen.x;
  LastSampleY = screen.y;
  HWND under = ::WindowFromPoint(screen);
  window_dc dc(under);
  POINT client = screen;
  ::ScreenToClient(under, &client);
  COLORREF colour = ::GetPixel(dc.get(), client.x, client.y);
  // The magnifier takes the screen at the same moment, before the fields are written.
  PenMagnifier.Follow(screen);
  if (colour == CLR_INVALID) {
    // Some windows refuse a pixel read; a one-pixel copy still reaches the pixel.
    ::BitBlt(Picture1.hDC(), 0, 0, 1, 1, dc.get(), client.x, client.y, SRCCOPY);
    Picture1.Refresh();
    colour = static_cast<COLORREF>(Picture1.Point(0, 0));
  }
  Components c = SplitColour(static_cast<std::int32_t>(colour & 0xFFFFFF));
  Text1.SetText(DecimalText(c.red));
  Text2.SetText(DecimalText(c.green));
  Text3.SetText(DecimalText(c.blue));
}
