#include "picking/magnifier_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace magnifier;

constexpr RECT kPrimary{0, 0, 1280, 800};
constexpr RECT kLeftOfPrimary{-1920, -200, 0, 880};  // a second monitor left of and above the first

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " to " + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST(MagnifierGeometry, PlacementKeepsClearOfTheHotSpotAndOnItsMonitor) {
  const std::vector<RECT> monitors{kPrimary, kLeftOfPrimary};
  const struct {
    POINT hot;
    POINT topLeft;  // expected
  } kCases[] = {
      {{640, 400}, {676, 436}},            // room everywhere: below and right
      {{1200, 400}, {1074, 436}},          // near the right edge: flips left
      {{640, 760}, {676, 634}},            // near the bottom: flips up
      {{0, 0}, {36, 36}},                  // top-left corner
      {{1279, 0}, {1153, 36}},             // top-right corner
      {{0, 799}, {36, 673}},               // bottom-left corner
      {{1279, 799}, {1153, 673}},          // bottom-right corner
      {{-5, 500}, {-131, 536}},            // right edge of the left monitor: stays on it
      {{-1920, -200}, {-1884, -164}},      // that monitor's own top-left corner, above the first
  };
  for (const auto& c : kCases) {
    RECT monitor = MonitorAt(c.hot, monitors);
    RECT place = Placement(c.hot, monitor, {kSide, kSide});
    SCOPED_TRACE("hot spot " + std::to_string(c.hot.x) + "," + std::to_string(c.hot.y) + ": " + Describe(place));
    EXPECT_EQ(place.left, c.topLeft.x);
    EXPECT_EQ(place.top, c.topLeft.y);
    EXPECT_EQ(place.right - place.left, kSide);
    EXPECT_GE(kSide, 64);
    EXPECT_FALSE(::PtInRect(&place, c.hot));
    EXPECT_TRUE(place.left >= monitor.left && place.top >= monitor.top && place.right <= monitor.right &&
                place.bottom <= monitor.bottom);
    EXPECT_TRUE(StillBeside(place, c.hot, monitor));
  }
  // A placed magnifier stays while the hot spot moves kSlack pixels either way, and
  // moves once it would come nearer than the cursor reaches or lag further behind.
  const RECT placed = Placement({640, 400}, kPrimary, {kSide, kSide});
  const struct {
    POINT hot;
    bool stays;
  } kMoves[] = {{{652, 400}, true},  {{653, 400}, false}, {{628, 400}, true},
                {{627, 400}, false}, {{640, 412}, true},  {{640, 413}, false}};
  for (const auto& m : kMoves)
    EXPECT_EQ(StillBeside(placed, m.hot, kPrimary), m.stays) << "hot spot " << m.hot.x << "," << m.hot.y;
  EXPECT_FALSE(StillBeside({1200, 436, 1200 + kSide, 436 + kSide}, {1164, 400}, kPrimary)) << "off the monitor";
  // A monitor too small for either side: the largest square stays uncovered all the same.
  for (POINT hot : {POINT{50, 50}, POINT{52, 52}}) {
    RECT tiny = Placement(hot, {0, 0, 100, 100}, {kSide, kSide}), overlap{};
    RECT square{hot.x - kSquareReach, hot.y - kSquareReach, hot.x + kSquareReach + 1, hot.y + kSquareReach + 1};
    EXPECT_FALSE(::IntersectRect(&overlap, &tiny, &square)) << Describe(tiny);
  }
  // At 192 dpi everything is twice as large, and still whole on its monitor at the far edges,
  // the one left of and above the primary included.
  const Scale doubled = ScaleAt(192);
  EXPECT_EQ(doubled.Side(), 2 * kSide);
  for (POINT hot : {POINT{-1, 879}, POINT{-1920, -200}, POINT{1279, 0}}) {
    const RECT monitor = MonitorAt(hot, monitors);
    const RECT place = Placement(hot, monitor, {doubled.Side(), doubled.Side() + 40}, doubled);
    EXPECT_TRUE(place.left >= monitor.left && place.top >= monitor.top && place.right <= monitor.right &&
                place.bottom <= monitor.bottom && StillBeside(place, hot, monitor, doubled)) << Describe(place);
  }
  // A point off every monitor goes with the nearest.
  EXPECT_EQ(MonitorAt({1500, 300}, monitors).left, kPrimary.left);
  EXPECT_EQ(MonitorAt({-2000, 0}, monitors).left, kLeftOfPrimary.left);
}

TEST(MagnifierGeometry, ArrowStepsStopAtTheVirtualScreenEdge) {
  const RECT screen{-1920, -200, 1280, 880};
  const struct {
    POINT from;
    UINT key;
    bool shift;
    POINT to;
  } kCases[] = {
      {{100, 100}, VK_RIGHT, false, {101, 100}}, {{100, 100}, VK_LEFT, false, {99, 100}},
      {{100, 100}, VK_DOWN, false, {100, 101}},  {{100, 100}, VK_UP, false, {100, 99}},
      {{100, 100}, VK_RIGHT, true, {110, 100}},  {{100, 100}, VK_UP, true, {100, 90}},
      {{1279, 5}, VK_RIGHT, false, {1279, 5}},   {{1275, 5}, VK_RIGHT, true, {1279, 5}},
      {{-1915, 0}, VK_LEFT, true, {-1920, 0}},   {{0, -195}, VK_UP, true, {0, -200}},
      {{0, 879}, VK_DOWN, false, {0, 879}},
  };
  for (const auto& c : kCases) {
    auto step = ArrowStep(c.key, c.shift);
    ASSERT_TRUE(step.has_value());
    POINT to = StepWithin(c.from, *step, screen);
    EXPECT_EQ(to.x, c.to.x) << "key " << c.key << " from " << c.from.x << "," << c.from.y;
    EXPECT_EQ(to.y, c.to.y) << "key " << c.key << " from " << c.from.x << "," << c.from.y;
  }
  EXPECT_FALSE(ArrowStep(VK_ESCAPE, false).has_value());
  EXPECT_FALSE(ArrowStep('A', true).has_value());
}

TEST(MagnifierGeometry, MiddleCellShowsTheReadPixelOutlinedFromOutsideAndOffScreenCellsACheck) {
  POINT hot{3, 300};  // the two leftmost columns of cells lie off the screen
  RECT area = SourceArea(hot);
  std::vector<Pixel> source(kCells * kCells), picture(kSide * kSide);
  bool onScreen[kCells * kCells];
  const std::vector<RECT> monitors{kPrimary};
  for (int i = 0; i < kCells * kCells; ++i) {
    source[static_cast<size_t>(i)] = 0x00102030u + static_cast<Pixel>(i);
    onScreen[i] = OnScreen({area.left + i % kCells, area.top + i / kCells}, monitors);
  }
  Render(source, onScreen, 1, picture);
  auto at = [&](int x, int y) { return picture[static_cast<size_t>(y * kSide + x)]; };
  const int first = kFrame + (kCells / 2) * kZoom, last = first + kZoom - 1;
  const Pixel read = source[kCells * kCells / 2] | kOpaque;
  for (int y = first; y <= last; ++y)
    for (int x = first; x <= last; ++x) ASSERT_EQ(at(x, y), read) << "middle cell at " << x << "," << y;
  EXPECT_EQ(at(first - 1, first), kOutlineInner | kOpaque);
  EXPECT_EQ(at(last + 1, last), kOutlineInner | kOpaque);
  EXPECT_EQ(at(first, first - 2), kOutlineOuter | kOpaque);
  EXPECT_EQ(at(first - 3, first), (source[kCells * kCells / 2 - 1]) | kOpaque) << "the left neighbour's own colour";
  EXPECT_EQ(at(0, 0), kFrameColour | kOpaque);
  // Cells of columns -2 and -1 are off the screen; column 0 is on it.
  for (int x = kFrame; x < kFrame + 2 * kZoom; ++x) {
    Pixel p = at(x, kFrame + 3 * kZoom);
    EXPECT_TRUE(p == (kOffScreenLight | kOpaque) || p == (kOffScreenDark | kOpaque)) << "off-screen at x " << x;
  }
  EXPECT_EQ(at(kFrame + 2 * kZoom, kFrame), source[2] | kOpaque);
  // The largest square is outlined whole, and nothing inside it.
  Render(source, onScreen, kLargestSquare, picture);
  const int square = kFrame + (kCells / 2 - kSquareReach) * kZoom;
  EXPECT_EQ(at(square - 1, first), kOutlineInner | kOpaque);
  EXPECT_EQ(at(first - 1, first), source[kCells * kCells / 2 - 1] | kOpaque);
}

TEST(MagnifierGeometry, SquareMeanRoundsEachComponentOverTheCellsOnAMonitor) {
  // A checkerboard, its middle cell a: red 0 or 255, green 255 or 0, blue 100 or 101.
  constexpr Pixel a = 0x0000FF64, b = 0x00FF0065;
  std::vector<Pixel> source(kCells * kCells);
  for (int i = 0; i < kCells * kCells; ++i) source[static_cast<size_t>(i)] = (i % kCells + i / kCells) % 2 ? b : a;
  const struct {
    POINT hot;
    int side;
    std::optional<COLORREF> mean;
  } kCases[] = {
      {{640, 400}, 3, RGB(113, 142, 100)},  // 5 a, 4 b: a third rounds down, two thirds up
      {{0, 400}, 3, RGB(128, 128, 101)},    // at the left edge 3 a, 3 b: halves round up
      {{0, 0}, 9, RGB(122, 133, 100)},      // in the corner, 13 a and 12 b on the monitor
      {{-1, 400}, 1, std::nullopt},         {{-10, 400}, 9, std::nullopt},
  };
  for (const auto& c : kCases) {
    RECT area = SourceArea(c.hot);
    bool onScreen[kCells * kCells];
    for (int i = 0; i < kCells * kCells; ++i)
      onScreen[i] = OnScreen({area.left + i % kCells, area.top + i / kCells}, {&kPrimary, 1});
    EXPECT_EQ(SquareMean(source, onScreen, c.side), c.mean) << "side " << c.side << " at " << c.hot.x << "," << c.hot.y;
  }
  // However far it is asked to go, the square stays within 1 to 9; a part-notch waits.
  EXPECT_EQ(SideAfter(7, 1000), kLargestSquare);
  int rest = 0;
  EXPECT_EQ(WheelNotches(rest, WHEEL_DELTA / 2), 0);
  EXPECT_EQ(WheelNotches(rest, WHEEL_DELTA / 2), 1);
  EXPECT_EQ(WheelNotches(rest, -WHEEL_DELTA * 273), -273);
}

}  // namespace
