// The palette chart's picture. It is drawn at start rather than stored: as a smooth gradient it
// would be by far the largest picture stored, and it is drawn in well under a millisecond.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "controls/picture.h"

constexpr SIZE kPaletteChartSize{267, 70};

// Hue from left to right (red, yellow, green, cyan, blue, magenta, red); from the top, white to
// the full hue at the middle row, then to black. 0xFFRRGGBB rows, top row first.
std::vector<std::uint32_t> PaletteChartPixels();

PictureRef DrawPaletteChart();
