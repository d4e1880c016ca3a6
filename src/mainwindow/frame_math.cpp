#include "mainwindow/frame_math.h"

#include <climits>
#include <cmath>

int RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  // nearbyint follows the current rounding mode, which is round-to-nearest-even unless someone
  // changed it; this program never does.
  const double rounded = std::nearbyint(v);
  if (rounded <= INT_MIN) return INT_MIN;
  if (rounded >= INT_MAX) return INT_MAX;
  return static_cast<int>(rounded);
}

bool PointerInside(const HoverRectangle& r, int px, int py) {
  // The right and bottom edges are single-precision sums, as the rectangle itself is; the
  // comparisons are made in double so that no pointer coordinate gets rounded.
  const float right = r.Left + r.Width;
  const float bottom = r.Top + r.Height;
  const double x = px;
  const double y = py;
  return x > r.Left && x < right && y > r.Top && y < bottom;
}
