// The window's arithmetic at each display scale: one row per scale, every figure that
// scales with it; then where the window lands on a 100 % primary beside a 150 %
// secondary at negative x.
#include "win32/display_scale.h"

#include <gtest/gtest.h>

#include "mainwindow/frame_math.h"
#include "picking/palette_marker.h"

namespace {

TEST(DisplayScale, EveryFigureFollowsTheScale) {
  struct Row {
    long reported;            // what the system says
    int dpi;                  // what the window is laid out at
    int clientW, clientH;     // 4500 x 3945 twips, halves away from zero as controls are placed
    int regionW, regionH;     // the same twips, halves to even as the region is made
    int pen;                  // the 48 x 48 pen and its cursor
    int hoverIn, hoverOut;    // right-most column inside, first column past it, window at 1200 twips
    int markerRight, chartW;  // a marker held at the palette's limit stays inside the chart
  };
  const Row rows[] = {
      {96, 96, 300, 263, 300, 263, 48, 379, 380, 267, 267},
      {120, 120, 375, 329, 375, 329, 60, 474, 475, 333, 334},           // 125 %
      {144, 144, 450, 395, 450, 394, 72, 569, 570, 401, 401},           // 150 %: 394.5 rounds both ways
      {168, 168, 525, 460, 525, 460, 84, 664, 665, 467, 467},           // 175 %
      {192, 192, 600, 526, 600, 526, 96, 759, 760, 533, 534},           // 200 %
      {0, 96, 300, 263, 300, 263, 48, 379, 380, 267, 267},              // absent
      {72, 96, 300, 263, 300, 263, 48, 379, 380, 267, 267},             // below the range
      {-120, 96, 300, 263, 300, 263, 48, 379, 380, 267, 267},           // nonsense
      {960, 480, 1500, 1315, 1500, 1315, 240, 1899, 1900, 1333, 1335},  // beyond the range
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "reported " << r.reported);
    const int dpi = ClampDpi(r.reported);
    EXPECT_EQ(r.dpi, dpi);
    EXPECT_EQ(r.clientW, TwipsToPixelsAt(4500, dpi));
    EXPECT_EQ(r.clientH, TwipsToPixelsAt(3945, dpi));
    EXPECT_EQ(r.pen, ScaledLength(48, dpi));
    EXPECT_EQ(r.pen, TwipsToPixelsAt(720, dpi));  // the pen's image control
    const int left = TwipsToPixelsAt(1200, dpi);
    const HoverRectangle hover = HoverRectFrom({left, left, left + r.clientW, left + r.clientH});
    EXPECT_FALSE(PointerInside(hover, left, left + 5)) << "left-most column";
    EXPECT_TRUE(PointerInside(hover, left + 1, left + 5));
    EXPECT_TRUE(PointerInside(hover, r.hoverIn, left + 5));
    EXPECT_FALSE(PointerInside(hover, r.hoverOut, left + 5));
    const float limit = MarkerLimit(4005, 135);
    EXPECT_EQ(r.markerRight, TwipsToPixelsAt(limit, dpi) + TwipsToPixelsAt(135, dpi));
    EXPECT_EQ(r.chartW, TwipsToPixelsAt(4005, dpi));
    EXPECT_LE(r.markerRight, r.chartW);
  }
}

TEST(DisplayScale, WindowLandsOnAMonitorAfterTheResolutionChanged) {
  // Physical pixels: a 1920 x 1080 primary at 100 %, a 2880 x 1620 secondary at 150 % left of it.
  const RECT secondaryWork{-2880, 0, 0, 1580};
  const SIZE at150{450, 395};
  const RECT at96{-1500, 100, -1200, 363};
  const POINT grip{-1400, 150};
  struct Row {
    const char* what;
    RECT before;
    const POINT* grip;
    bool onMonitor;
    RECT expected;
  };
  const Row rows[] = {
      {"keeps its top-left", at96, nullptr, true, {-1500, 100, -1050, 495}},
      {"moved: the grip keeps its place on the window", at96, &grip, true, {-1550, 75, -1100, 470}},
      {"far off every monitor", {-100000, -90000, -99700, -89737}, nullptr, false, {-2880, 0, -2430, 395}},
      {"hanging off the bottom", {-1000, 1500, -700, 1763}, nullptr, true, {-1000, 1500, -550, 1895}},
      {"nothing before to scale from", {-1000, 500, -1000, 500}, &grip, true, {-1000, 500, -550, 895}},
  };
  for (const Row& r : rows) {
    const RECT got = KeptOnMonitor(RescaledPlace(r.before, at150, r.grip), r.onMonitor, secondaryWork);
    EXPECT_TRUE(got.left == r.expected.left && got.top == r.expected.top && got.right == r.expected.right &&
                got.bottom == r.expected.bottom)
        << r.what << ": got " << got.left << "," << got.top << "," << got.right << "," << got.bottom;
  }
  // The secondary's place in twips (by the 96-dpi system resolution) and its size (by the
  // window's 144 dpi) give back the same physical pixels.
  const HoverRectangle hover = HoverRectFrom({-1500, 100, -1050, 495});
  EXPECT_FLOAT_EQ(-1500, hover.Left);
  EXPECT_FLOAT_EQ(100, hover.Top);
  EXPECT_FLOAT_EQ(450, hover.Width);
  EXPECT_FLOAT_EQ(395, hover.Height);
}

}  // namespace
