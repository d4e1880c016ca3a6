#include "picking/magnifier_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace magnifier {

namespace {

// Where the magnifier starts on one axis: after the hot spot, else before it; where
// neither side has room, the roomier side, kept on the monitor as far as that
// leaves the largest square around the hot spot uncovered.
long Along(long hot, long low, long high, long extent, long gap) {
  long after = hot + gap;
  long before = hot - gap - extent;
  if (after + extent <= high) return after;
  if (before >= low) return before;
  if (high - hot >= hot - low) return std::max(std::min(after, high - extent), hot + kSquareReach + 1);
  return std::min(std::max(before, low), hot - kSquareReach - extent);
}

// Cell index in the source, from cell column and row.
constexpr size_t Cell(int column, int row) { return static_cast<size_t>(row * kCells + column); }

long DistanceOutside(long value, long low, long high) {
  if (value < low) return low - value;
  if (value >= high) return value - high + 1;
  return 0;
}

}  // namespace

Scale ScaleAt(int dpi) {
  auto scaled = [dpi](int length96) { return std::max(length96, ::MulDiv(length96, dpi, 96)); };
  return {scaled(kZoom), scaled(kFrame), scaled(kCursorReach), scaled(kSlack)};
}

RECT Placement(POINT hot, const RECT& monitor, SIZE size, const Scale& scale) {
  long left = Along(hot.x, monitor.left, monitor.right, size.cx, scale.Gap());
  long top = Along(hot.y, monitor.top, monitor.bottom, size.cy, scale.Gap());
  return {left, top, left + size.cx, top + size.cy};
}

bool StillBeside(const RECT& current, POINT hot, const RECT& monitor, const Scale& scale) {
  const long nearest = scale.cursorReach, farthest = scale.Gap() + scale.slack;
  auto clear = [&](long point, long low, long high) {
    long after = low - point, before = point - high;
    return (after >= nearest && after <= farthest) || (before >= nearest && before <= farthest);
  };
  bool onMonitor = current.left >= monitor.left && current.top >= monitor.top && current.right <= monitor.right &&
                   current.bottom <= monitor.bottom;
  return onMonitor && clear(hot.x, current.left, current.right) && clear(hot.y, current.top, current.bottom);
}

RECT MonitorAt(POINT point, std::span<const RECT> monitors) {
  const RECT* nearest = nullptr;
  long best = 0;
  for (const RECT& monitor : monitors) {
    long distance = DistanceOutside(point.x, monitor.left, monitor.right) +
                    DistanceOutside(point.y, monitor.top, monitor.bottom);
    if (!nearest || distance < best) {
      nearest = &monitor;
      best = distance;
    }
  }
  return nearest ? *nearest : RECT{};
}

RECT SourceArea(POINT hot) {
  constexpr int half = kCells / 2;
  return {hot.x - half, hot.y - half, hot.x - half + kCells, hot.y - half + kCells};
}

bool OnScreen(POINT pixel, std::span<const RECT> monitors) {
  return std::any_of(monitors.begin(), monitors.end(),
                     [&](const RECT& monitor) { return ::PtInRect(&monitor, pixel) != FALSE; });
}

void Render(std::span<const Pixel> source, std::span<const bool> cellOnScreen, int side, std::span<Pixel> picture,
            const Scale& scale, int stride) {
  const int pixels = scale.Side(), zoom = scale.zoom, frame = scale.frame;
  if (stride < pixels) stride = pixels;
  if (source.size() < kCells * kCells || cellOnScreen.size() < kCells * kCells ||
      picture.size() < static_cast<size_t>(stride) * static_cast<size_t>(pixels))
    return;
  const int reach = SideAfter(side, 0) / 2;
  // The outline is two rings a pixel wide at 96 dpi, as wide as the frame elsewhere.
  const int first = frame + (kCells / 2 - reach) * zoom;         // the square's first pixel
  const int last = frame + (kCells / 2 + reach + 1) * zoom - 1;  // and its last
  const int check = std::max(1, zoom / 2);                        // the off-screen check's squares
  for (int y = 0; y < pixels; ++y) {
    for (int x = 0; x < pixels; ++x) {
      Pixel& out = picture[static_cast<size_t>(y * stride + x)];
      int ringX = x < first ? first - x : x - last;
      int ringY = y < first ? first - y : y - last;
      int ring = (std::max(ringX, ringY) + frame - 1) / frame;  // rings around the square: 1 touches it
      if (x < frame || y < frame || x >= pixels - frame || y >= pixels - frame) {
        out = kFrameColour;
      } else if (ring == 1) {
        out = kOutlineInner;
      } else if (ring == 2) {
        out = kOutlineOuter;
      } else {
        size_t cell = Cell((x - frame) / zoom, (y - frame) / zoom);
        bool light = ((x / check) + (y / check)) % 2 == 0;
        out = cellOnScreen[cell] ? source[cell] & 0xFFFFFF : (light ? kOffScreenLight : kOffScreenDark);
      }
      out |= kOpaque;
    }
  }
}

std::optional<COLORREF> SquareMean(std::span<const Pixel> source, std::span<const bool> cellOnScreen, int side) {
  if (source.size() < kCells * kCells || cellOnScreen.size() < kCells * kCells) return std::nullopt;
  const int reach = SideAfter(side, 0) / 2;
  unsigned red = 0, green = 0, blue = 0, count = 0;
  for (int row = kCells / 2 - reach; row <= kCells / 2 + reach; ++row) {
    for (int column = kCells / 2 - reach; column <= kCells / 2 + reach; ++column) {
      if (!cellOnScreen[Cell(column, row)]) continue;
      Pixel pixel = source[Cell(column, row)];
      red += (pixel >> 16) & 0xFF;
      green += (pixel >> 8) & 0xFF;
      blue += pixel & 0xFF;
      ++count;
    }
  }
  if (count == 0) return std::nullopt;
  auto rounded = [count](unsigned sum) { return static_cast<BYTE>((sum + count / 2) / count); };
  return RGB(rounded(red), rounded(green), rounded(blue));
}

int SideAfter(int side, int rings) {
  // Both clamped first, so no sum can overflow.
  side = std::clamp(side, kSmallestSquare, kLargestSquare);
  rings = std::clamp(rings, -kLargestSquare, kLargestSquare);
  return std::clamp(side + 2 * rings, kSmallestSquare, kLargestSquare);
}

std::optional<int> SquareKeyRings(UINT virtualKey) {
  switch (virtualKey) {
    case VK_ADD:
    case VK_OEM_PLUS:
      return 1;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
      return -1;
    default:
      return std::nullopt;
  }
}

int WheelNotches(int& rest, int wheelDelta) {
  rest += wheelDelta;
  int notches = rest / WHEEL_DELTA;  // toward zero: a part-turn either way waits
  rest -= notches * WHEEL_DELTA;
  return notches;
}

std::optional<POINT> ArrowStep(UINT virtualKey, bool shift) {
  long size = shift ? 10 : 1;
  switch (virtualKey) {
    case VK_LEFT:
      return POINT{-size, 0};
    case VK_RIGHT:
      return POINT{size, 0};
    case VK_UP:
      return POINT{0, -size};
    case VK_DOWN:
      return POINT{0, size};
    default:
      return std::nullopt;
  }
}

POINT StepWithin(POINT from, POINT step, const RECT& virtualScreen) {
  if (virtualScreen.right <= virtualScreen.left || virtualScreen.bottom <= virtualScreen.top) return from;
  return {std::clamp(from.x + step.x, virtualScreen.left, virtualScreen.right - 1),
          std::clamp(from.y + step.y, virtualScreen.top, virtualScreen.bottom - 1)};
}

}  // namespace magnifier
