// The palette chart: click or drag on it to take its colours; the marker follows
// the pointer and is held inside the chart during a drag.
#include "mainwindow/form1.h"
#include "sampling/palette_marker.h"

void Form1::调色板1_MouseDown(short, short, float x, float y) {
  PalettePressed = kTrue;
  Shape1.SetLeft(x - kMarkerOffset);
  Shape1.SetTop(y - kMarkerOffset);
  zhuan(调色板1.Point(x, y));
}

void Form1::调色板1_MouseMove(short, short, float x, float y) {
  if (!PalettePressed) return;
  Shape1.SetLeft(x - kMarkerOffset);
  Shape1.SetTop(y - kMarkerOffset);
  const float limitX = MarkerLimit(调色板1.Width(), Shape1.Width());
  if (x < 0)
    Shape1.SetLeft(kMarkerMargin);
  else if (x <= limitX)
    zhuan(调色板1.Point(x, y));
  else
    Shape1.SetLeft(limitX);
  const float limitY = MarkerLimit(调色板1.Height(), Shape1.Height());
  if (y < 0)
    Shape1.SetTop(kMarkerMargin);
  else if (y <= limitY)
    zhuan(调色板1.Point(x, y));
  else
    Shape1.SetTop(limitY);
}

void Form1::调色板1_MouseUp(short, short, float, float) { EndPaletteDrag(); }

void Form1::EndPaletteDrag() { PalettePressed = kFalse; }
