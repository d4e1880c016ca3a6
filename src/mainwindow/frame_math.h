// Arithmetic of the borderless main window: the region's corners and the hover rectangle, at
// any display resolution.
#pragma once
#include <windows.h>

// The main window's rectangle in screen pixels.
struct HoverRectangle {
  float Left, Top, Width, Height;
};

// True when the pointer lies strictly inside: the window's left-most column and top-most row count
// as outside, its right-most column (Left + Width - 1) as inside.
bool PointerInside(const HoverRectangle& r, int px, int py);

// The hover rectangle of a window's outer rectangle.
HoverRectangle HoverRectFrom(const RECT& outer);

// The corner ellipse, drawn for 96 dpi, at dpi.
int RegionCorner(int corner96, int dpi);
