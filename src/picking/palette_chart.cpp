// The palette chart: click or drag on it to take its colours; the marker follows
// the pointer and is held inside the chart during a drag.
#include "colour/recent_colours.h"
#include "mainwindow/main_window.h"
#include "picking/palette_marker.h"

void MainWindow::OnPalettePress(short, short, float x, float y) {
  if (!PalettePressed) PaletteTook = false;
  PalettePressed = true;
  PaletteMarker.SetLeft(x - kMarkerOffset);
  PaletteMarker.SetTop(y - kMarkerOffset);
  PaletteTake(PaletteChart.Point(x, y));
}

void MainWindow::OnPaletteMove(short, short, float x, float y) {
  if (!PalettePressed) return;
  PaletteMarker.SetLeft(x - kMarkerOffset);
  PaletteMarker.SetTop(y - kMarkerOffset);
  const float limitX = MarkerLimit(PaletteChart.Width(), PaletteMarker.Width());
  if (x < 0)
    PaletteMarker.SetLeft(kMarkerMargin);
  else if (x <= limitX)
    PaletteTake(PaletteChart.Point(x, y));
  else
    PaletteMarker.SetLeft(limitX);
  const float limitY = MarkerLimit(PaletteChart.Height(), PaletteMarker.Height());
  if (y < 0)
    PaletteMarker.SetTop(kMarkerMargin);
  else if (y <= limitY)
    PaletteTake(PaletteChart.Point(x, y));
  else
    PaletteMarker.SetTop(limitY);
}

// The release ends a click or a drag: the recent colours keep the colour it took last.
void MainWindow::OnPaletteRelease(short, short, float, float) {
  const bool took = PalettePressed && PaletteTook;
  EndPaletteDrag();
  if (took) RecentColours::Take(static_cast<COLORREF>(CurrentColour()));
}

// A point outside the chart reads -1, which shows nothing and takes nothing.
void MainWindow::PaletteTake(std::int32_t colour) {
  if (colour >= 0) PaletteTook = true;
  ShowColour(colour);
}

void MainWindow::EndPaletteDrag() { PalettePressed = false; }
