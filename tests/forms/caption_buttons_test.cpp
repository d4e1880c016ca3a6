// The drawn close and minimise buttons and the hover timer, under real pointer input.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "mainwindow/hover_tracking.h"
#include "support/main_window_fixture.h"
#include "tray/tray_record.h"

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
std::string Looks(const MainWindow& f) {
  return "close:" + LookOf(f.CloseButton, f.CloseNormalLook, f.CloseHoverLook, f.ClosePressedLook) + " min:" + LookOf(f.MinimiseButton, f.MinimiseNormalLook, f.MinimiseHoverLook, f.MinimisePressedLook);
}

const char* TimerState() { return HoverTracking::HoverTimerId ? "runs" : "rests"; }

// A timer that may rest is let go within a tenth of a second; until then it runs without effect.
const char* TimerStateAfterAWhile(const char* expected) {
  if (std::string(expected) == "rests") PumpUntil([] { return HoverTracking::HoverTimerId == 0; }, 1000);
  return TimerState();
}

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
    ASSERT_FLOAT_EQ(HoverTracking::HoverRect.Left, static_cast<float>(At({0, 0}).x));
  }
  // Enough for several hover timer ticks.
  static void LetTheTimerTick() { Pump(60); }
};

TEST_F(CaptionButtonsTest, PointerMovesFollowTheStateTable) {
  ComeInOverTheSurface();
  // The hover timer runs while the pointer is over the window in front and rests once it is away.
  const struct {
    const char* step;
    POINT to;  // window pixels; outside the window where negative
    const char* looks;
    const char* timer;
  } steps[] = {
      {"onto close", kOnClose, "close:hover min:normal", "runs"},
      {"within close", {kOnClose.x + 5, kOnClose.y + 2}, "close:hover min:normal", "runs"},
      {"straight onto minimise", kOnMinimise, "close:normal min:hover", "runs"},
      {"straight back onto close", kOnClose, "close:hover min:normal", "runs"},
      {"onto the bare surface", kOnSurface, "close:normal min:normal", "runs"},
      {"onto minimise", kOnMinimise, "close:normal min:hover", "runs"},
      {"out of the window", {kOnMinimise.x, -30}, "close:normal min:normal", "rests"},
      {"back onto close", kOnClose, "close:hover min:normal", "runs"},
      {"out to the right", {330, 9}, "close:normal min:normal", "rests"},
      {"back over the bare surface", kOnSurface, "close:normal min:normal", "runs"},
      {"onto the swatch, a child window", {200, 80}, "close:normal min:normal", "runs"},
      {"out from the swatch, below", {200, 300}, "close:normal min:normal", "rests"},
  };
  for (const auto& s : steps) {
    MoveTo(s.to);
    LetTheTimerTick();
    EXPECT_EQ(Looks(form()), s.looks) << "after moving " << s.step;
    EXPECT_STREQ(TimerStateAfterAWhile(s.timer), s.timer) << "after moving " << s.step;
  }
}

TEST_F(CaptionButtonsTest, PressedShowsUntilTheFirstMoveAndMinimiseMinimises) {
  ComeInOverTheSurface();
  MoveTo(kOnMinimise);
  pointer::Press();
  EXPECT_EQ(Looks(form()), "close:normal min:pressed");
  MoveTo({kOnMinimise.x + 1, kOnMinimise.y});
  EXPECT_EQ(Looks(form()), "close:normal min:hover") << "a move while pressed shows the hover picture";
  EXPECT_FALSE(form().Minimised()) << "acted before the release";
  pointer::Release();
  EXPECT_TRUE(PumpUntil([&] { return form().Minimised(); }, 1000)) << "minimise did not minimise";
  EXPECT_TRUE(::IsWindow(form().hWnd()));
}

TEST_F(CaptionButtonsTest, AnotherForegroundWindowKeepsHoverAwayButAClickStillActs) {
  ComeInOverTheSurface();
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 600, 160, 80,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  ::SetForegroundWindow(other);
  ASSERT_TRUE(PumpUntil([] { return HoverTracking::NotForeground == true; }, 1000)) << "the change went unnoticed";
  EXPECT_STREQ(TimerState(), "rests") << "in the background nothing needs the timer";
  for (POINT p : {kOnClose, kOnMinimise, kOnClose}) {
    MoveTo(p);
    EXPECT_EQ(Looks(form()), "close:normal min:normal") << "at " << p.x << "," << p.y;
    EXPECT_STREQ(TimerState(), "rests") << "at " << p.x << "," << p.y;
  }
  pointer::Press();
  pointer::Release();
  EXPECT_TRUE(PumpUntil([&] { return !form().Visible(); }, 1000)) << "the close click did nothing";
  ::DestroyWindow(other);
}

TEST_F(CaptionButtonsTest, StaleRectangleAfterStartupTakesTheHoverPictureAwayAtTheNextTick) {
  // The start rectangle describes the window at the origin; the window now stands centred.
  ASSERT_FLOAT_EQ(HoverTracking::HoverRect.Left, 0.0f);
  ASSERT_NE(At({0, 0}).x, 0);
  MoveTo(kOnClose);  // straight from afar: no move over the surface brings the rectangle up to date
  EXPECT_TRUE(PumpUntil([&] { return Looks(form()) == "close:normal min:normal"; }, 1000))
      << "still " << Looks(form());
  EXPECT_STREQ(TimerState(), "runs") << "the pointer rests over the window in front";
  form().CloseButton.SetPicture(form().CloseHoverLook.Picture());
  EXPECT_TRUE(PumpUntil([&] { return Looks(form()) == "close:normal min:normal"; }, 1000))
      << "the next tick left " << Looks(form());
}

// Each tick compares the pointer with the rectangle strictly: the window's left-most column and
// top-most row are outside, its right-most column and bottom-most row inside.
TEST_F(CaptionButtonsTest, TimerTickKeepsTheHoverPictureOnlyWhileThePointerIsInside) {
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
    form().CloseButton.SetPicture(form().CloseHoverLook.Picture());
    form().MinimiseButton.SetPicture(form().MinimiseHoverLook.Picture());
    HoverTracking::HoverTimerProc(nullptr, WM_TIMER, 0, 0);
    EXPECT_EQ(Looks(form()), c.inside ? "close:hover min:hover" : "close:normal min:normal") << c.where;
    EXPECT_EQ(HoverTracking::NotForeground, false) << c.where;
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
  EXPECT_TRUE(form().Minimised());
  EXPECT_TRUE(::IsWindow(form().hWnd()));
}

INSTANTIATE_TEST_SUITE_P(
    AnyButton, CloseButtonTest,
    ::testing::Values(CloseClick{"LeftReleasedOutside", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, {-200, 400}},
                      CloseClick{"RightOnTheButton", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, kOnClose},
                      CloseClick{"MiddleReleasedOverTheSurface", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP,
                                 kOnSurface}),
    [](const ::testing::TestParamInfo<CloseClick>& info) { return std::string(info.param.name); });

// Notifications in any order, real or stray: the buttons end as the timer's rules would leave them,
// and when the timer rests a tick would change nothing.
enum class Step {
  OntoClose, OntoMinimise, Away, OtherInFront, OwnedInFront, BackInFront, LeaveWithoutEnter,
  StrayDeactivation, Minimise, Restore, HideToTray, TrayClick,
};

constexpr short kEither = 1;  // NotForeground may be either: hidden, the window may still be the foreground one

struct Sequence {
  const char* name;
  std::vector<Step> steps;
  const char* looks;
  short notForeground;
  const char* timer;
};
void PrintTo(const Sequence& sequence, std::ostream* out) { *out << sequence.name; }

class HoverSequenceTest : public CaptionButtonsTest, public ::testing::WithParamInterface<Sequence> {
 protected:
  void TearDown() override {
    for (HWND w : others_) ::DestroyWindow(w);
    CaptionButtonsTest::TearDown();
  }
  void TakeTheFront(HWND owner) {
    HWND w = ::CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 600, 160, 80, owner,
                               nullptr, nullptr, nullptr);
    others_.push_back(w);
    ::SetForegroundWindow(w);
  }
  void Do(Step step) {
    HWND window = form().hWnd();
    switch (step) {
      case Step::OntoClose: MoveTo(kOnClose); break;
      case Step::OntoMinimise: MoveTo(kOnMinimise); break;
      case Step::Away: MoveTo({kOnClose.x, -30}); break;
      case Step::OtherInFront: TakeTheFront(nullptr); break;
      case Step::OwnedInFront: TakeTheFront(window); break;  // as a message box of the program would
      case Step::BackInFront: ::SetForegroundWindow(window); break;
      case Step::LeaveWithoutEnter: ::SendMessageW(window, WM_MOUSELEAVE, 0, 0); break;
      case Step::StrayDeactivation:
        ::SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
        ::SendMessageW(window, WM_ACTIVATEAPP, FALSE, 0);
        break;
      case Step::Minimise: form().SetMinimised(true); break;
      case Step::Restore: form().SetMinimised(false); break;
      case Step::HideToTray: form().RequestClose(); break;
      case Step::TrayClick: ::SendMessageW(window, WM_TRAYCALLBACK, 0, WM_LBUTTONUP); break;
    }
    LetTheTimerTick();
  }

 private:
  std::vector<HWND> others_;
};

TEST_P(HoverSequenceTest, EndsAsTheTimerWouldAndRestsOnlyWhenATickWouldChangeNothing) {
  const Sequence& sequence = GetParam();
  ComeInOverTheSurface();
  for (Step step : sequence.steps) Do(step);
  EXPECT_EQ(Looks(form()), sequence.looks);
  if (sequence.notForeground != kEither) {
    EXPECT_EQ(HoverTracking::NotForeground, sequence.notForeground);
  }
  EXPECT_STREQ(TimerStateAfterAWhile(sequence.timer), sequence.timer);
  if (HoverTracking::HoverTimerId) return;
  const std::string looks = Looks(form());
  const short notForeground = HoverTracking::NotForeground;
  HoverTracking::HoverTimerProc(nullptr, WM_TIMER, 0, 0);
  EXPECT_EQ(Looks(form()), looks) << "resting, but a tick would still change the looks";
  EXPECT_EQ(HoverTracking::NotForeground, notForeground) << "resting, but a tick would still change NotForeground";
}

const char* const kNormal = "close:normal min:normal";
const char* const kCloseHover = "close:hover min:normal";

INSTANTIATE_TEST_SUITE_P(
    Notifications, HoverSequenceTest,
    ::testing::Values(
        Sequence{"PointerLeaves", {Step::OntoClose, Step::Away}, kNormal, false, "rests"},
        Sequence{"AnotherWindowTakesTheFront", {Step::OntoClose, Step::OtherInFront}, kNormal, true, "rests"},
        Sequence{"OwnWindowInFront", {Step::OntoMinimise, Step::OwnedInFront}, kNormal, true, "rests"},
        Sequence{"BackInFrontUnderThePointer", {Step::OntoClose, Step::OtherInFront, Step::BackInFront}, kNormal,
                 false, "runs"},
        Sequence{"LeaveWithoutEnter", {Step::OntoClose, Step::LeaveWithoutEnter}, kCloseHover, false, "runs"},
        Sequence{"StrayDeactivationInFront", {Step::OntoClose, Step::StrayDeactivation}, kCloseHover, false, "runs"},
        Sequence{"StrayDeactivationAway", {Step::Away, Step::StrayDeactivation}, kNormal, false, "rests"},
        Sequence{"MinimisedRests", {Step::OntoMinimise, Step::Minimise}, kNormal, kEither, "rests"},
        Sequence{"MinimisedAndRestored", {Step::OntoMinimise, Step::Minimise, Step::Restore}, kNormal, false, "runs"},
        Sequence{"HiddenRests", {Step::OntoClose, Step::HideToTray}, kNormal, kEither, "rests"},
        Sequence{"BackFromTheTray", {Step::OntoClose, Step::HideToTray, Step::TrayClick}, kNormal, false, "runs"},
        Sequence{"BackFromTheTrayPointerAway", {Step::OntoClose, Step::HideToTray, Step::Away, Step::TrayClick},
                 kNormal, false, "rests"}),
    [](const ::testing::TestParamInfo<Sequence>& info) { return std::string(info.param.name); });

}  // namespace
