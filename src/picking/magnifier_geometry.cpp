#include "picking/magnifier_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace magnifier {

namespace {

// Where the magnifier starts on one axis: after the hot spot, else before it; where
// neither side has room, the roomier side, kept on the monitor as far as that
// leaves the largest square around the hot spot uncovered.
long Along(long hot, long low, long high, long extent) {
  long after = hot + kGap;
  long before = hot - kGap - extent;
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

RECT Placement(POINT hot, const RECT& monitor, int extraHeight) {
  const long height = kSide + extraHeight;
  long left = Along(hot.x, monitor.left, monitor.right, kSide);
  long top = Along(hot.y, monitor.top, monitor.bottom, height);
  return {left, top, left + kSide, top + height};
}

bool StillBeside(const RECT& current, POINT hot, const RECT& monitor) {
  auto clear = [](long point, long low, long high) {
    long after = low - point, before = point - high;
    return (after >= kCursorReach && after <= kGap + kSlack) || (before >= kCursorReach && before <= kGap + kSlack);
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

void Render(std::span<const Pixel> source, std::span<const bool> cellOnScreen, int side, std::span<Pixel> picture) {
  if (source.size() < kCells * kCells || cellOnScreen.size() < kCells * kCells || picture.size() < kSide * kSide)
    return;
  const int reach = SideAfter(side, 0) / 2;
  const int first = kFrame + (kCells / 2 - reach) * kZoom;         // the square's first pixel
  const int last = kFrame + (kCells / 2 + reach + 1) * kZoom - 1;  // and its last
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      Pixel& out = picture[static_cast<size_t>(y * kSide + x)];
      int ringX = x < first ? first - x : x - last;
      int ringY = y < first ? first - y : y - last;
      int ring = std::max(ringX, ringY);  // rings around the square: 1 touches it
      if (x < kFrame || y < kFrame || x >= kSide - kFrame || y >= kSide - kFrame) {
        out = kFrameColour;
      } else if (ring == 1) {
        out = kOutlineInner;
      } else if (ring == 2) {
        out = kOutlineOuter;
      } else {
        size_t cell = Cell((x - kFrame) / kZoom, (y - kFrame) / kZoom);
        bool light = ((x / 4) + (y / 4)) % 2 == 0;
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
