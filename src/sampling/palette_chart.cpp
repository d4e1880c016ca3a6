// The palette chart: click or drag on it to take its colours; the marker follows
// the pointer and is held inside the chart during a drag.
#include "colour/recent_colours.h"
#include "mainwindow/form1.h"
#include "sampling/palette_marker.h"

void Form1::调色板1_MouseDown(short, short, float x, float y) {
  if (!PalettePressed) PaletteTook = false;
  PalettePressed = kTrue;
  Shape1.SetLeft(x - kMarkerOffset);
  Shape1.SetTop(y - kMarkerOffset);
  PaletteTake(调色板1.Point(x, y));
}

void Form1::调色板1_MouseMove(short, short, float x, float y) {
  if (!PalettePressed) return;
  Shape1.SetLeft(x - kMarkerOffset);
  Shape1.SetTop(y - kMarkerOffset);
  const float limitX = MarkerLimit(调色板1.Width(), Shape1.Width());
  if (x < 0)
    Shape1.SetLeft(kMarkerMargin);
  else if (x <= limitX)
    PaletteTake(调色板1.Point(x, y));
  else
    Shape1.SetLeft(limitX);
  const float limitY = MarkerLimit(调色板1.Height(), Shape1.Height());
  if (y < 0)
    Shape1.SetTop(kMarkerMargin);
  else if (y <= limitY)
    PaletteTake(调色板1.Point(x, y));
  else
    Shape1.SetTop(limitY);
}

// The release ends a click or a drag: the recent colours keep the colour it took last.
void Form1::调色板1_MouseUp(short, short, float, float) {
  const bool took = PalettePressed && PaletteTook;
  EndPaletteDrag();
  if (took) RecentColours::Take(static_cast<COLORREF>(CurrentColour()));
}

// A point outside the chart reads -1, which shows nothing and takes nothing.
void Form1::PaletteTake(std::int32_t colour) {
  if (colour >= 0) PaletteTook = true;
  zhuan(colour);
}

void Form1::EndPaletteDrag() { PalettePressed = kFalse; }
