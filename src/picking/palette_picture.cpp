#include "picking/palette_picture.h"

namespace {

// The chart's recipe mixes colours in fractions and rounds halves to even. Whole numbers give
// the same channels exactly on every processor.
int RoundedQuotient(int numerator, int denominator) {
  const int quotient = numerator / denominator, twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator) return quotient + 1;
  if (twiceRest == denominator) return quotient + (quotient & 1);
  return quotient;
}

struct Rgb {
  int r, g, b;
};

// The full colour of column x: six sectors of hue across the width, the last column red again.
Rgb FullHue(int x) {
  const int lastColumn = kPaletteChartSize.cx - 1;
  const int sector = (6 * x / lastColumn) % 6, within = 6 * x % lastColumn;
  const int rising = RoundedQuotient(255 * within, lastColumn);
  const int falling = RoundedQuotient(255 * (lastColumn - within), lastColumn);
  const Rgb sectors[] = {{255, rising, 0}, {falling, 255, 0}, {0, 255, rising},
                         {0, falling, 255}, {rising, 0, 255}, {255, 0, falling}};
  return sectors[sector];
}

// White at the top row, the full hue at the middle row, black at the bottom row.
int Channel(int full, int y) {
  const int middle = kPaletteChartSize.cy / 2, bottom = kPaletteChartSize.cy - 1;
  if (y <= middle) return RoundedQuotient(255 * middle + (full - 255) * y, middle);
  return RoundedQuotient(full * (bottom - y), bottom - middle);
}

}  // namespace

std::vector<std::uint32_t> PaletteChartPixels() {
  std::vector<std::uint32_t> pixels(static_cast<size_t>(kPaletteChartSize.cx * kPaletteChartSize.cy));
  for (int x = 0; x < kPaletteChartSize.cx; ++x) {
    const Rgb hue = FullHue(x);
    for (int y = 0; y < kPaletteChartSize.cy; ++y)
      pixels[static_cast<size_t>(y * kPaletteChartSize.cx + x)] =
          0xFF000000u | static_cast<std::uint32_t>(Channel(hue.r, y)) << 16 |
          static_cast<std::uint32_t>(Channel(hue.g, y)) << 8 | static_cast<std::uint32_t>(Channel(hue.b, y));
  }
  return pixels;
}

PictureRef DrawPaletteChart() { return Picture::FromPixels(kPaletteChartSize, PaletteChartPixels()); }
