#include "win32/display_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

int ClampDpi(long reported) { return static_cast<int>(std::clamp<long>(reported, kLowestDpi, kHighestDpi)); }

float TwipsPerPixelAt(int dpi) { return 1440.0f / static_cast<float>(ClampDpi(dpi)); }

int TwipsToPixelsAt(float twips, int dpi) { return static_cast<int>(std::lround(twips / TwipsPerPixelAt(dpi))); }

int ScaledLength(int length96, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(length96) * ClampDpi(dpi) / kBaseDpi));
}

namespace {
bool Intersects(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
}  // namespace

RECT RescaledPlace(const RECT& before, SIZE laidOut, const POINT* grip) {
  const long width = before.right - before.left, height = before.bottom - before.top;
  POINT start{before.left, before.top};
  if (grip && width > 0 && height > 0) {
    start.x = grip->x - std::lround(static_cast<double>(grip->x - before.left) * laidOut.cx / width);
    start.y = grip->y - std::lround(static_cast<double>(grip->y - before.top) * laidOut.cy / height);
  }
  return {start.x, start.y, start.x + laidOut.cx, start.y + laidOut.cy};
}

RECT KeptOnMonitor(const RECT& place, bool onMonitor, const RECT& nearestWork) {
  if (onMonitor && Intersects(place, nearestWork)) return place;
  const long width = place.right - place.left, height = place.bottom - place.top;
  auto keepInside = [](long start, long size, long low, long high) {
    return std::max(low, std::min(start, high - size));
  };
  const long left = keepInside(place.left, width, nearestWork.left, nearestWork.right);
  const long top = keepInside(place.top, height, nearestWork.top, nearestWork.bottom);
  return {left, top, left + width, top + height};
}

namespace {

// How much of each source cell one target cell covers along one axis, in whole units: source
// cell j spans [j * to, (j + 1) * to) and target cell i spans [i * from, (i + 1) * from), so the
// weights of a target cell are whole numbers that add up to `from`, and the mean is exact.
struct Share {
  long first;
  std::vector<std::uint64_t> weights;
};

std::vector<Share> Shares(long from, long to) {
  std::vector<Share> shares(static_cast<size_t>(to));
  for (long i = 0; i < to; ++i) {
    const long start = i * from, end = start + from;
    Share& share = shares[static_cast<size_t>(i)];
    share.first = start / to;
    for (long j = share.first; j < from && j * to < end; ++j)
      share.weights.push_back(static_cast<std::uint64_t>(std::min(end, (j + 1) * to) - std::max(start, j * to)));
  }
  return shares;
}

// Blue, green, red and alpha summed with their weights; the colours times alpha when weighted.
using Pixel = std::array<std::uint64_t, 4>;

Pixel Unpack(std::uint32_t p, bool alphaWeighted) {
  const std::uint64_t a = (p >> 24) & 0xFF, k = alphaWeighted ? a : 1;
  return {(p & 0xFF) * k, ((p >> 8) & 0xFF) * k, ((p >> 16) & 0xFF) * k, a};
}

// The nearest whole number to sum / total, halves up.
std::uint32_t RoundedMean(std::uint64_t sum, std::uint64_t total) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>((2 * sum + total) / (2 * total), 255));
}

// total: the weight of a whole target cell.
std::uint32_t Pack(const Pixel& p, std::uint64_t total, bool alphaWeighted) {
  const std::uint64_t colourTotal = alphaWeighted ? p[3] : total;
  if (colourTotal == 0) return 0;
  return RoundedMean(p[0], colourTotal) | RoundedMean(p[1], colourTotal) << 8 | RoundedMean(p[2], colourTotal) << 16 |
         RoundedMean(p[3], total) << 24;
}

}  // namespace

std::vector<std::uint32_t> ResamplePixels(std::span<const std::uint32_t> source, SIZE from, SIZE to,
                                          bool alphaWeighted) {
  if (from.cx <= 0 || from.cy <= 0 || to.cx <= 0 || to.cy <= 0 ||
      source.size() < static_cast<size_t>(from.cx) * static_cast<size_t>(from.cy))
    return {};
  const auto across = Shares(from.cx, to.cx), down = Shares(from.cy, to.cy);
  // Rows first, into a picture as wide as the target and as high as the source.
  std::vector<Pixel> rows(static_cast<size_t>(to.cx) * static_cast<size_t>(from.cy));
  for (long y = 0; y < from.cy; ++y)
    for (long x = 0; x < to.cx; ++x) {
      Pixel sum{};
      const Share& share = across[static_cast<size_t>(x)];
      for (size_t k = 0; k < share.weights.size(); ++k) {
        const Pixel p = Unpack(source[static_cast<size_t>(y * from.cx + share.first) + k], alphaWeighted);
        for (int c = 0; c < 4; ++c) sum[c] += p[c] * share.weights[k];
      }
      rows[static_cast<size_t>(y * to.cx + x)] = sum;
    }
  const std::uint64_t total = static_cast<std::uint64_t>(from.cx) * static_cast<std::uint64_t>(from.cy);
  std::vector<std::uint32_t> target(static_cast<size_t>(to.cx) * static_cast<size_t>(to.cy));
  for (long y = 0; y < to.cy; ++y) {
    const Share& share = down[static_cast<size_t>(y)];
    for (long x = 0; x < to.cx; ++x) {
      Pixel sum{};
      for (size_t k = 0; k < share.weights.size(); ++k) {
        const Pixel& p = rows[static_cast<size_t>((share.first + static_cast<long>(k)) * to.cx + x)];
        for (int c = 0; c < 4; ++c) sum[c] += p[c] * share.weights[k];
      }
      target[static_cast<size_t>(y * to.cx + x)] = Pack(sum, total, alphaWeighted);
    }
  }
  return target;
}

void AvoidColourKey(std::span<std::uint32_t> pixels, COLORREF key) {
  // The pixels are 0x..RRGGBB, a COLORREF is 0x00BBGGRR.
  const std::uint32_t keyRgb = (key & 0xFF) << 16 | (key & 0xFF00) | (key >> 16 & 0xFF);
  for (std::uint32_t& p : pixels)
    if ((p & 0xFFFFFF) == keyRgb) p ^= (keyRgb & 0xFF) ? 0x01 : 0x0100;  // the lowest bit of a key channel
}
