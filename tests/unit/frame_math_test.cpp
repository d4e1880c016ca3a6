#include "mainwindow/frame_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(FrameMath, PointerInsideIsStrictOnAllFourEdges) {
  struct Case {
    HoverRectangle rect;
    int px, py;
    bool inside;
  };
  const HoverRectangle window{100, 50, 300, 200};  // columns 100..399, rows 50..249
  const HoverRectangle leftOfPrimary{-300, -200, 300, 200};
  const HoverRectangle fractional{100.5f, 50.5f, 300, 200};  // right edge 400.5, bottom 250.5
  const Case cases[] = {
      {window, 100, 100, false},       {window, 101, 100, true},           {window, 399, 100, true},
      {window, 400, 100, false},       {window, 200, 50, false},           {window, 200, 51, true},
      {window, 200, 249, true},        {window, 200, 250, false},          {window, 0, 0, false},
      {window, 99, 49, false},         {window, 401, 251, false},          {window, 101, 51, true},
      {leftOfPrimary, -1, -1, true},   {leftOfPrimary, -300, -100, false}, {leftOfPrimary, -150, -200, false},
      {leftOfPrimary, 0, -100, false}, {fractional, 100, 100, false},      {fractional, 101, 100, true},
      {fractional, 400, 250, true},    {fractional, 401, 100, false},      {fractional, 200, 251, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.inside, PointerInside(c.rect, c.px, c.py))
        << "rect (" << c.rect.Left << ", " << c.rect.Top << ", " << c.rect.Width << ", " << c.rect.Height
        << ") pointer (" << c.px << ", " << c.py << ")";
  }
}

}  // namespace
