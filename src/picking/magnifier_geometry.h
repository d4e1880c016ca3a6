// The magnifier's arithmetic, apart from any window: where it stands beside the hot
// spot, which of its cells show the screen, how its picture is laid out, and where
// an arrow key takes the pointer. Everything is in the screen pixels the pen reads.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace magnifier {

constexpr int kCells = 11;  // odd, so one cell is the middle: the pixel the pen reads
constexpr int kZoom = 8;    // screen pixels per cell
constexpr int kFrame = 1;   // the dark edge around the cells
constexpr int kSide = kCells * kZoom + 2 * kFrame;
// The pen cursor reaches 24 pixels from its hot spot: the magnifier stays beyond it.
constexpr int kCursorReach = 24;
// Moving a window costs far more than painting one, so the magnifier stays where it
// is while the hot spot moves up to kSlack pixels either way, then moves after it.
constexpr int kSlack = 12;
constexpr int kGap = kCursorReach + kSlack;  // from the hot spot to a newly placed magnifier

// The pen's colour is the mean over a square around the hot spot, 1 to 9 pixels a side,
// grown and shrunk a ring (a pixel each way) at a time.
constexpr int kSmallestSquare = 1, kLargestSquare = 9;
static_assert(kLargestSquare % 2 == 1 && kLargestSquare <= kCells, "the square lies in the copy around the hot spot");
// How far the largest square reaches from the hot spot: the magnifier always keeps beyond it,
// where the system cannot keep the magnifier out of the copy.
constexpr int kSquareReach = kLargestSquare / 2;

// The magnifier's measures on a monitor, in its pixels: the values above at 96 dpi, and in
// proportion at any other resolution, so that it looks the same size on every monitor. The
// pen cursor the gaps keep clear of grows with the resolution too.
struct Scale {
  int zoom = kZoom;
  int frame = kFrame;
  int cursorReach = kCursorReach;
  int slack = kSlack;
  int Side() const { return kCells * zoom + 2 * frame; }
  int Gap() const { return cursorReach + slack; }
};
Scale ScaleAt(int dpi);

// The magnifier's rectangle of `size` for a hot spot on a monitor: Gap() below and right of
// the hot spot, flipped to the other side on an axis where the monitor has no room.
RECT Placement(POINT hot, const RECT& monitor, SIZE size, const Scale& scale = {});
// Whether a magnifier at `current` may stay for the hot spot: on the monitor, and on
// each axis between cursorReach and Gap() + slack away from the hot spot.
bool StillBeside(const RECT& current, POINT hot, const RECT& monitor, const Scale& scale = {});

// The monitor that holds the point, or the nearest one; an empty list gives an empty rect.
RECT MonitorAt(POINT point, std::span<const RECT> monitors);

// The screen pixels the cells show: a kCells square centred on the hot spot.
RECT SourceArea(POINT hot);

bool OnScreen(POINT pixel, std::span<const RECT> monitors);

// Pixels as 0xAARRGGBB, as a 32-bit top-down device-independent bitmap holds them;
// the magnifier's own are opaque, since a layered window may honour their alpha.
using Pixel = std::uint32_t;
constexpr Pixel kOpaque = 0xFF000000;
constexpr Pixel kOffScreenLight = 0xC8C8C8, kOffScreenDark = 0x969696;
constexpr Pixel kOutlineInner = 0x000000, kOutlineOuter = 0xFFFFFF, kFrameColour = 0x404040;

// Lays the magnifier's Side() x Side() picture out from the kCells x kCells source pixels: each
// cell `zoom` pixels wide, a neutral check where the cell is off screen, and the side x side
// square around the middle cell outlined just outside its pixels. The picture's rows are
// `stride` pixels apart (Side() where none is given).
void Render(std::span<const Pixel> source, std::span<const bool> cellOnScreen, int side, std::span<Pixel> picture,
            const Scale& scale = {}, int stride = 0);

// The colour the pen reads from the same source: the mean of the side x side square
// around the middle cell over its cells that show the screen, each component rounded
// to the nearest integer, as a colour value (0x00BBGGRR); nothing where none does.
std::optional<COLORREF> SquareMean(std::span<const Pixel> source, std::span<const bool> cellOnScreen, int side);

// The square's side after growing by `rings` (shrinking where negative), kept within
// kSmallestSquare..kLargestSquare however far it is asked to go.
int SideAfter(int side, int rings);
// The rings a key grows the square by: + grows, - shrinks; nothing for any other key.
std::optional<int> SquareKeyRings(UINT virtualKey);
// Whole wheel notches in a turn, away from the user positive. A part of a notch (fine
// wheels and touchpads send them) waits in `rest` for the next turn.
int WheelNotches(int& rest, int wheelDelta);

// The pointer step of an arrow key while the pen is dragged (ten pixels with Shift),
// or nothing for any other key.
std::optional<POINT> ArrowStep(UINT virtualKey, bool shift);
// The pointer moved by a step, stopped at the edge of the virtual screen.
POINT StepWithin(POINT from, POINT step, const RECT& virtualScreen);

}  // namespace magnifier
