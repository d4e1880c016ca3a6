#include "mainwindow/frame_math.h"

#include "win32/display_scale.h"

bool PointerInside(const HoverRectangle& r, int px, int py) {
  // The right and bottom edges are single-precision sums, as the rectangle itself is; the
  // comparisons are made in double so that no pointer coordinate gets rounded.
  const float right = r.Left + r.Width;
  const float bottom = r.Top + r.Height;
  const double x = px;
  const double y = py;
  return x > r.Left && x < right && y > r.Top && y < bottom;
}

HoverRectangle HoverRectFrom(const RECT& outer) {
  return {static_cast<float>(outer.left), static_cast<float>(outer.top), static_cast<float>(outer.right - outer.left),
          static_cast<float>(outer.bottom - outer.top)};
}

int RegionCorner(int corner96, int dpi) { return ScaledLength(corner96, dpi); }
