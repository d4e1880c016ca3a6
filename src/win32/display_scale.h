// Arithmetic of the display resolution, with no window behind it: how many pixels a
// 96-dpi length becomes, how twips turn into pixels, and where a window may land
// when the resolution under it changes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

constexpr int kBaseDpi = 96;   // the resolution the layout and the pictures are drawn for
constexpr int kLowestDpi = 96;
constexpr int kHighestDpi = 480;
// The colour the program's layered windows show as see-through (COLORREF: pure blue).
constexpr COLORREF kSeeThroughKey = 0xFF0000;

// Any reported resolution, absent (0), negative or absurd, as the nearest one the window
// is laid out for: never a zero to divide by.
int ClampDpi(long reported);
// Twips in one pixel: twips are physical, 1/1440 inch.
float TwipsPerPixelAt(int dpi);
// Twips as whole pixels at dpi, as control places are rounded: halves away from zero.
int TwipsToPixelsAt(float twips, int dpi);
// A 96-dpi length at dpi, rounded as control places are: halves away from zero.
int ScaledLength(int length96, int dpi);

// Where a window laid out anew at laidOut goes from its place before: while it is being moved,
// the pointer's grip keeps its place on the window, as it does on the system's own resize;
// otherwise its top-left stays.
RECT RescaledPlace(const RECT& before, SIZE laidOut, const POINT* grip);
// A place that touches no monitor moves into the nearest monitor's work area.
RECT KeptOnMonitor(const RECT& place, bool onMonitor, const RECT& nearestWork);

// Resamples a 32-bit picture (0xAARRGGBB rows, top row first) to another size. Each
// target pixel is the area-weighted average of the source pixels it covers, so edges
// stay crisp when enlarging and no detail is dropped when shrinking. With alphaWeighted
// the alpha weighs the colours, so transparent pixels never bleed into visible ones.
std::vector<std::uint32_t> ResamplePixels(std::span<const std::uint32_t> source, SIZE from, SIZE to,
                                          bool alphaWeighted);
// A colour exactly the window's see-through key would punch a hole: move it one step off.
void AvoidColourKey(std::span<std::uint32_t> pixels, COLORREF key);
