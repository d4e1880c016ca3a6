// A pen or palette drag whose pointer is taken away before the release (a modal box, a task
// switch, another program's capture) ends as a release would end it: plain hovering afterwards
// takes no colour, and the pen shows as a picture again, not as the cursor.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/main_window_fixture.h"

namespace {

constexpr COLORREF kEarlier = 0x123456;  // no pixel of the pen or the chart has it

class LostCaptureTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    other_ = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    ::DestroyWindow(other_);
    MainWindowTest::TearDown();
  }
  void ExpectNoColourTaken(const char* where) {
    EXPECT_EQ(form().RedField.Text(), std::to_wstring(GetRValue(kEarlier))) << where;
    EXPECT_EQ(form().GreenField.Text(), std::to_wstring(GetGValue(kEarlier))) << where;
    EXPECT_EQ(form().BlueField.Text(), std::to_wstring(GetBValue(kEarlier))) << where;
  }
  HWND other_ = nullptr;
};

TEST_F(LostCaptureTest, ALostCaptureEndsTheDragAsAReleaseWould) {
  const struct {
    const char* how;
    void (*take)(HWND holder, HWND other);
  } takings[] = {
      {"another window takes the pointer", [](HWND, HWND other) { ::SetCapture(other); }},
      {"a modal box cancels the pointer mode", [](HWND holder, HWND) { ::SendMessageW(holder, WM_CANCELMODE, 0, 0); }},
  };
  MainWindow& f = form();
  const HCURSOR penCursor = f.PenStore.Picture()->AsCursor();
  const RECT chart = ScreenRectOf(f.PaletteChart);
  const struct {
    const char* drag;
    POINT press, hover;
    HWND holder;
  } drags[] = {
      {"pen", ScreenCentreOf(f.Pen), {ScreenCentreOf(f.Pen).x + 7, ScreenCentreOf(f.Pen).y + 5},
       f.Swatch.Handle()},
      {"palette", {chart.left + 130, chart.top + 30}, {chart.left + 40, chart.top + 12}, f.PaletteChart.Handle()},
  };
  for (const auto& drag : drags) {
    for (const auto& taking : takings) {
      std::string where = std::string(drag.drag) + ", " + taking.how;
      SCOPED_TRACE(where);
      pointer::MoveTo(drag.press.x, drag.press.y);
      pointer::Press();
      ASSERT_EQ(::GetCapture(), drag.holder) << "the press did not capture the pointer";
      taking.take(drag.holder, other_);
      Pump(20);
      EXPECT_EQ(f.Picks().PenDragging(), false);
      EXPECT_EQ(f.Palette().Pressed(), false);
      EXPECT_EQ(f.Pen.Pointer(), MousePointer::Default);
      EXPECT_EQ(f.Pen.Picture(), f.PenStore.Picture()) << "the pen picture is not back";
      pointer::Release();
      ::ReleaseCapture();
      f.Fields().Show(kEarlier);
      pointer::MoveTo(drag.hover.x, drag.hover.y);
      pointer::MoveTo(drag.press.x, drag.press.y);
      ExpectNoColourTaken("hovering after the drag");
      EXPECT_NE(::GetCursor(), penCursor) << "the pen cursor stayed on";
    }
  }
}

}  // namespace
