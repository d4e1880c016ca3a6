// Arithmetic of the borderless main window: twips-to-pixel rounding, the region and the
// hover rectangle, at any display resolution.
#pragma once
#include <windows.h>

// Rounds to the nearest integer, halves to the even neighbour (300.5 -> 300, 301.5 -> 302,
// -0.5 -> 0), the rounding a form runtime applies when it turns twips into whole pixels.
// Values beyond the int range are clamped; NaN gives 0.
int RoundHalfEven(double v);

// The main window's rectangle in screen pixels, converted from twips and not rounded.
struct HoverRectangle {
  float Left, Top, Width, Height;
};

// True when the pointer lies strictly inside: the window's left-most column and top-most row count
// as outside, its right-most column (Left + Width - 1) as inside.
bool PointerInside(const HoverRectangle& r, int px, int py);

// The hover rectangle of a window at left, top, width, height (twips): the place measured by
// the system's resolution, the size by the layout's.
HoverRectangle HoverRectFrom(float left, float top, float width, float height, int systemDpi, int layoutDpi);

// The region's box for a window of width x height twips at dpi, each side rounded to the even
// neighbour; and the corner ellipse, drawn for 96 dpi, at dpi.
SIZE RegionSize(float width, float height, int dpi);
int RegionCorner(int corner96, int dpi);
