#include "mainwindow/frame_math.h"

#include <climits>
#include <cmath>

#include "win32/display_scale.h"

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

HoverRectangle HoverRectFrom(float left, float top, float width, float height, int systemDpi, int layoutDpi) {
  const float place = TwipsPerPixelAt(systemDpi), size = TwipsPerPixelAt(layoutDpi);
  return {left / place, top / place, width / size, height / size};
}

SIZE RegionSize(float width, float height, int dpi) {
  const double perPixel = TwipsPerPixelAt(dpi);
  return {RoundHalfEven(width / perPixel), RoundHalfEven(height / perPixel)};
}

int RegionCorner(int corner96, int dpi) { return ScaledLength(corner96, dpi); }
