#include "sampling/magnifier_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace magnifier {

namespace {

// Where the magnifier starts on one axis: after the hot spot, else before it; where
// neither side has room, the roomier side, kept on the monitor as far as that
// leaves the hot spot uncovered.
long Along(long hot, long low, long high) {
  long after = hot + kGap;
  long before = hot - kGap - kSide;
  if (after + kSide <= high) return after;
  if (before >= low) return before;
  if (high - hot >= hot - low) return std::max(std::min(after, high - kSide), hot + 1);
  return std::min(std::max(before, low), hot - kSide);
}

long DistanceOutside(long value, long low, long high) {
  if (value < low) return low - value;
  if (value >= high) return value - high + 1;
  return 0;
}

}  // namespace

RECT Placement(POINT hot, const RECT& monitor) {
  long left = Along(hot.x, monitor.left, monitor.right);
  long top = Along(hot.y, monitor.top, monitor.bottom);
  return {left, top, left + kSide, top + kSide};
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

void Render(std::span<const Pixel> source, std::span<const bool> cellOnScreen, std::span<Pixel> picture) {
  if (source.size() < kCells * kCells || cellOnScreen.size() < kCells * kCells || picture.size() < kSide * kSide)
    return;
  constexpr int middle = kFrame + (kCells / 2) * kZoom;  // first pixel of the middle cell
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      Pixel& out = picture[static_cast<size_t>(y * kSide + x)];
      int ringX = x < middle ? middle - x : x - (middle + kZoom - 1);
      int ringY = y < middle ? middle - y : y - (middle + kZoom - 1);
      int ring = std::max(ringX, ringY);  // rings around the middle cell: 1 touches it
      if (x < kFrame || y < kFrame || x >= kSide - kFrame || y >= kSide - kFrame) {
        out = kFrameColour;
      } else if (ring == 1) {
        out = kOutlineInner;
      } else if (ring == 2) {
        out = kOutlineOuter;
      } else {
        size_t cell = static_cast<size_t>((y - kFrame) / kZoom * kCells + (x - kFrame) / kZoom);
        bool light = ((x / 4) + (y / 4)) % 2 == 0;
        out = cellOnScreen[cell] ? source[cell] & 0xFFFFFF : (light ? kOffScreenLight : kOffScreenDark);
      }
      out |= kOpaque;
    }
  }
}

std::optional<COLORREF> MiddleColour(std::span<const Pixel> source, std::span<const bool> cellOnScreen) {
  constexpr size_t middle = kCells * kCells / 2;
  if (source.size() <= middle || cellOnScreen.size() <= middle || !cellOnScreen[middle]) return std::nullopt;
  Pixel pixel = source[middle];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
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
