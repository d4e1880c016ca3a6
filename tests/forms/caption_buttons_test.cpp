// The drawn close and minimise buttons and the hover timer, under real pointer input.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/hover_tracking.h"
#include "support/main_window_fixture.h"

namespace {

// Window pixels: on the minimise button, on the close button, on the bare surface.
constexpr POINT kOnMinimise{244, 9};
constexpr POINT kOnClose{275, 9};
constexpr POINT kOnSurface{120, 25};

std::string LookOf(const Image& button, const Image& normal, const Image& hover, const Image& pressed) {
  // The close button's pressed picture is its normal one; normal is named first.
  if (button.Picture() == normal.Picture()) return "normal";
  if (button.Picture() == hover.Picture()) return "hover";
  if (button.Picture() == pressed.Picture()) return "pressed";
  return "other";
}

// Both buttons' pictures as one text, "close:<look> min:<look>", for table comparisons.
std::string Looks(const Form1& f) {
  return "close:" + LookOf(f.关闭0, f.关闭1, f.关闭2, f.关闭3) + " min:" + LookOf(f.最小0, f.最小1, f.最小2, f.最小3);
}

void StopHoverTimer() {
  ::KillTimer(nullptr, 圆角窗体::HoverTimerId);
  圆角窗体::HoverTimerId = 0;
}

void StartHoverTimer() { 圆角窗体::HoverTimerId = ::SetTimer(nullptr, 0, 1, 圆角窗体::HoverTimerProc); }

class CaptionButtonsTest : public MainWindowTest {
 protected:
  POINT At(POINT inWindow) {
    RECT r{};
    ::GetWindowRect(form().hWnd(), &r);
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  void MoveTo(POINT inWindow) {
    POINT p = At(inWindow);
    pointer::MoveTo(p.x, p.y);
  }
  // A pointer move over the surface, as a user's pointer on its way to the buttons gives it,
  // brings the hover rectangle up to date with the centred window.
  void ComeInOverTheSurface() {
    MoveTo(kOnSurface);
    ASSERT_FLOAT_EQ(圆角窗体::HoverRect.Left, static_cast<float>(At({0, 0}).x));
  }
  // Enough for several hover timer ticks.
  static void LetTheTimerTick() { Pump(60); }
};

TEST_F(CaptionButtonsTest, PointerMovesFollowTheStateTable) {
  ComeInOverTheSurface();
  const struct {
    const char* step;
    POINT to;  // window pixels; outside the window where negative
    const char* looks;
  } steps[] = {
      {"onto close", kOnClose, "close:hover min:normal"},
      {"within close", {kOnClose.x + 5, kOnClose.y + 2}, "close:hover min:normal"},
      {"straight onto minimise", kOnMinimise, "close:normal min:hover"},
      {"straight back onto close", kOnClose, "close:hover min:normal"},
      {"onto the bare surface", kOnSurface, "close:normal min:normal"},
      {"onto minimise", kOnMinimise, "close:normal min:hover"},
      {"out of the window", {kOnMinimise.x, -30}, "close:normal min:normal"},
      {"back onto close", kOnClose, "close:hover min:normal"},
      {"onto the swatch", {200, 80}, "close:normal min:normal"},
  };
  for (const auto& s : steps) {
    MoveTo(s.to);
    LetTheTimerTick();
    EXPECT_EQ(Looks(form()), s.looks) << "after moving " << s.step;
  }
}

TEST_F(CaptionButtonsTest, PressedShowsUntilTheFirstMoveAndMinimiseMinimises) {
  ComeInOverTheSurface();
  MoveTo(kOnMinimise);
  pointer::Press();
  EXPECT_EQ(Looks(form()), "close:normal min:pressed");
  MoveTo({kOnMinimise.x + 1, kOnMinimise.y});
  EXPECT_EQ(Looks(form()), "close:normal min:hover") << "a move while pressed shows the hover picture";
  EXPECT_EQ(form().WindowState(), 0) << "acted before the release";
  pointer::Release();
  EXPECT_TRUE(PumpUntil([&] { return form().WindowState() == 1; }, 1000)) << "minimise did not minimise";
  EXPECT_TRUE(::IsWindow(form().hWnd()));
}

TEST_F(CaptionButtonsTest, AnotherForegroundWindowKeepsHoverAwayButAClickStillActs) {
  ComeInOverTheSurface();
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 600, 160, 80,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  ::SetForegroundWindow(other);
  ASSERT_TRUE(PumpUntil([] { return 圆角窗体::NotForeground == kTrue; }, 1000)) << "the timer missed the change";
  StopHoverTimer();  // from here on only the buttons' own handlers choose the pictures
  for (POINT p : {kOnClose, kOnMinimise, kOnClose}) {
    MoveTo(p);
    EXPECT_EQ(Looks(form()), "close:normal min:normal") << "at " << p.x << "," << p.y;
  }
  pointer::Press();
  pointer::Release();
  EXPECT_TRUE(PumpUntil([&] { return !form().Visible(); }, 1000)) << "the close click did nothing";
  ::DestroyWindow(other);
}

TEST_F(CaptionButtonsTest, StaleRectangleAfterStartupTakesTheHoverPictureAwayAtTheNextTick) {
  // The start rectangle describes the window at the origin; the window now stands centred.
  ASSERT_FLOAT_EQ(圆角窗体::HoverRect.Left, 0.0f);
  ASSERT_NE(At({0, 0}).x, 0);
  StopHoverTimer();
  MoveTo(kOnClose);
  EXPECT_EQ(Looks(form()), "close:hover min:normal");
  StartHoverTimer();
  EXPECT_TRUE(PumpUntil([&] { return Looks(form()) == "close:normal min:normal"; }, 1000))
      << "still " << Looks(form());
}

// Each tick compares the pointer with the rectangle strictly: the window's left-most column and
// top-most row are outside, its right-most column and bottom-most row inside.
TEST_F(CaptionButtonsTest, TimerTickKeepsTheHoverPictureOnlyWhileThePointerIsInside) {
  StopHoverTimer();
  ComeInOverTheSurface();
  RECT r{};
  ::GetWindowRect(form().hWnd(), &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const struct {
    const char* where;
    POINT at;  // window pixels
    bool inside;
  } cases[] = {
      {"left-most column", {0, 131}, false},
      {"second column", {1, 131}, true},
      {"right-most column", {width - 1, 131}, true},
      {"first column right of the window", {width, 131}, false},
      {"top-most row", {150, 0}, false},
      {"bottom-most row", {150, height - 1}, true},
      {"first row below the window", {150, height}, false},
  };
  for (const auto& c : cases) {
    // Exactly on the pixel: the absolute coordinates of injected input may round one pixel short.
    const POINT target = At(c.at);
    ::SetCursorPos(target.x, target.y);
    Pump(20);
    POINT placed{};
    ::GetCursorPos(&placed);
    ASSERT_TRUE(placed.x == target.x && placed.y == target.y) << c.where << ": pointer at " << placed.x << ","
                                                               << placed.y;
    form().关闭0.SetPicture(form().关闭2.Picture());
    form().最小0.SetPicture(form().最小2.Picture());
    圆角窗体::HoverTimerProc(nullptr, WM_TIMER, 0, 0);
    EXPECT_EQ(Looks(form()), c.inside ? "close:hover min:hover" : "close:normal min:normal") << c.where;
    EXPECT_EQ(圆角窗体::NotForeground, kFalse) << c.where;
  }
}

struct CloseClick {
  const char* name;
  DWORD down, up;
  POINT releaseAt;  // window pixels
};

class CloseButtonTest : public CaptionButtonsTest, public ::testing::WithParamInterface<CloseClick> {};

TEST_P(CloseButtonTest, ReleaseHidesTheWindowToTheTray) {
  const CloseClick& click = GetParam();
  ComeInOverTheSurface();
  MoveTo(kOnClose);
  pointer::Press(click.down);
  MoveTo(click.releaseAt);
  EXPECT_TRUE(form().Visible()) << "closed before the release";
  pointer::Release(click.up);
  EXPECT_TRUE(PumpUntil([&] { return !form().Visible(); }, 1000)) << "the window still shows";
  EXPECT_EQ(form().WindowState(), 1);
  EXPECT_TRUE(::IsWindow(form().hWnd()));
}

INSTANTIATE_TEST_SUITE_P(
    AnyButton, CloseButtonTest,
    ::testing::Values(CloseClick{"LeftReleasedOutside", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, {-200, 400}},
                      CloseClick{"RightOnTheButton", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, kOnClose},
                      CloseClick{"MiddleReleasedOverTheSurface", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP,
                                 kOnSurface}),
    [](const ::testing::TestParamInfo<CloseClick>& info) { return std::string(info.param.name); });

}  // namespace
