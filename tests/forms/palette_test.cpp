// The palette chart on the real main window, driven by real pointer input: clicks
// take the chart's colour, drags keep taking it and hold the marker inside the chart.
#include <gtest/gtest.h>

#include <string>

#include "support/main_window_fixture.h"

namespace {

void ExpectFields(MainWindow& form, COLORREF colour, const std::string& where) {
  EXPECT_EQ(form.RedField.Text(), std::to_wstring(GetRValue(colour))) << where;
  EXPECT_EQ(form.GreenField.Text(), std::to_wstring(GetGValue(colour))) << where;
  EXPECT_EQ(form.BlueField.Text(), std::to_wstring(GetBValue(colour))) << where;
}

class PaletteTest : public MainWindowTest {
 protected:
  PictureBox& chart() { return form().PaletteChart; }
  // A point given in chart pixels, as a screen point.
  POINT OnScreen(int x, int y) {
    RECT box = ScreenRectOf(chart());
    return {box.left + x, box.top + y};
  }
  void MoveTo(int x, int y) {
    POINT p = OnScreen(x, y);
    pointer::MoveTo(p.x, p.y);
    Pump(20);
  }
  // What the chart shows on screen, read from its window as any program would.
  COLORREF ShownAt(int x, int y) { return WindowPixel(chart().Handle(), x, y); }
  COLORREF ChartAt(int x, int y) { return chart().ColourAt({x, y}).value_or(CLR_INVALID); }
  void ExpectMarkerAt(float left, float top, const std::string& where) {
    EXPECT_FLOAT_EQ(form().PaletteMarker.Place().left, left) << where;
    EXPECT_FLOAT_EQ(form().PaletteMarker.Place().top, top) << where;
  }
};

TEST_F(PaletteTest, ClickTakesTheColourUnderThePointerWithoutClamping) {
  const struct {
    int x, y;          // chart pixels
    float left, top;   // marker, twips
  } kClicks[] = {
      {130, 30, 1930, 430},
      {0, 0, -20, -20},      // the marker stands partly outside the chart
      {262, 60, 3910, 880},  // the corner a drag never takes colours from
      {40, 12, 580, 160},
  };
  for (const auto& click : kClicks) {
    std::string where = "click " + std::to_string(click.x) + "," + std::to_string(click.y);
    COLORREF shown = ShownAt(click.x, click.y);
    ASSERT_EQ(ChartAt(click.x, click.y), shown) << where;
    POINT p = OnScreen(click.x, click.y);
    pointer::ClickAt(p.x, p.y);
    ExpectFields(form(), shown, where);
    EXPECT_EQ(form().Swatch.BackColor(), shown) << where;
    ExpectMarkerAt(click.left, click.top, where);
    EXPECT_EQ(form().Palette().Pressed(), false) << where;
  }
}

TEST_F(PaletteTest, DragHoldsTheMarkerInsideAndTakesColoursOnlyWhereAllowed) {
  constexpr int kStartX = 100, kStartY = 30;
  const struct {
    int x, y;          // chart pixels, may lie outside the chart
    float left, top;   // marker, twips
    bool takesColour;  // else the colour taken at the press stays
  } kDrags[] = {
      {-10, 30, 5, 430, false},    // left of the chart
      {-1, 30, 5, 430, false},
      {60, -10, 880, 5, false},    // above it, inside horizontally
      {60, -1, 880, 5, false},
      {280, 30, 3865, 430, false}, // right of it
      {60, 80, 880, 835, false},   // below it
      {-10, -10, 5, 5, false},
      {300, 90, 3865, 835, false},
      {262, 30, 3865, 430, true},  // inside, right of the limit: the vertical check takes it
      {258, 30, 3865, 430, true},  // the pointer, not the marker, is held to the limit
      {60, 60, 880, 835, true},    // inside, below the limit: the horizontal check takes it
      {262, 60, 3865, 835, false}, // inside, beyond both limits
      {200, 20, 2980, 280, true},
  };
  const COLORREF start = ChartAt(kStartX, kStartY);
  for (const auto& drag : kDrags) {
    std::string where = "drag to " + std::to_string(drag.x) + "," + std::to_string(drag.y);
    bool inside = drag.x >= 0 && drag.x < 267 && drag.y >= 0 && drag.y < 65;
    if (inside) {
      ASSERT_NE(ChartAt(drag.x, drag.y), start) << where << ": choose another start";
    }
    MoveTo(kStartX, kStartY);
    pointer::Press();
    ExpectFields(form(), start, where + ", press");
    EXPECT_EQ(form().Palette().Pressed(), true) << where;
    MoveTo(drag.x, drag.y);
    ExpectMarkerAt(drag.left, drag.top, where);
    ExpectFields(form(), drag.takesColour ? ChartAt(drag.x, drag.y) : start, where);
    pointer::Release();
    EXPECT_EQ(form().Palette().Pressed(), false) << where;
  }
}

TEST_F(PaletteTest, MarkerStaysWhereTheDragLeftItAfterRelease) {
  MoveTo(50, 30);
  pointer::Press(MOUSEEVENTF_RIGHTDOWN);
  MoveTo(-40, 100);
  pointer::Release(MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(form().Palette().Pressed(), false);
  ExpectMarkerAt(5, 835, "after release");
  const COLORREF taken = ChartAt(50, 30);
  MoveTo(120, 20);
  MoveTo(30, 50);
  ExpectMarkerAt(5, 835, "moves without a button");
  ExpectFields(form(), taken, "moves without a button");
}

}  // namespace
