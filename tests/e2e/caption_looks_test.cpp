// The close button of the real program as a user sees it on the screen: its hover picture goes when
// the pointer leaves, when another window takes the front, and it is not back after a restore from
// the tray, while the next move onto the button shows it again at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/huevik_process.h"
#include "support/pointer.h"
#include "support/shell_windows.h"

namespace {

constexpr POINT kOnSurface{120, 25};  // window pixels
constexpr POINT kOnClose{275, 9};
constexpr POINT kOnMinimise{245, 9};
constexpr RECT kCloseButton{256, 0, 300, 18};
constexpr UINT kTrayCallback = WM_USER + 1;

class CaptionLooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    pointer::MoveTo(640, 780);
    huevik_ = std::make_unique<HuevikProcess>();
    Pump(300);
    normal_ = CloseButtonPixels();
  }
  void TearDown() override {
    if (other_) ::DestroyWindow(other_);
  }
  HWND window() const { return huevik_->Window(); }
  void MoveTo(POINT inWindow) {
    RECT r{};
    ::GetWindowRect(window(), &r);
    pointer::MoveTo(r.left + inWindow.x, r.top + inWindow.y);
  }
  // Every other pixel of the button, read from the screen.
  std::vector<COLORREF> CloseButtonPixels() const {
    RECT r{};
    ::GetWindowRect(window(), &r);
    HDC screen = ::GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = kCloseButton.top; y < kCloseButton.bottom; y += 2)
      for (int x = kCloseButton.left; x < kCloseButton.right; x += 2)
        pixels.push_back(::GetPixel(screen, r.left + x, r.top + y));
    ::ReleaseDC(nullptr, screen);
    return pixels;
  }
  bool LooksNormalWithin(DWORD ms) {
    return PumpUntil([&] { return CloseButtonPixels() == normal_; }, ms);
  }
  bool LooksHoveredWithin(DWORD ms) {
    return PumpUntil([&] { return CloseButtonPixels() != normal_; }, ms);
  }
  // Over the surface first, as a user's pointer comes, then onto the button.
  void ComeOntoClose() {
    MoveTo(kOnSurface);
    MoveTo(kOnClose);
  }
  void AnotherWindowTakesTheFront() {
    other_ = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 600, 160,
                               80, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(other_);
  }
  // A click on the close button hides the window; the pointer goes to the tray, whose left click
  // the shell reports to the program.
  void CloseAndBringBackFromTheTray() {
    pointer::Press();
    pointer::Release();
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(window()); })) << "the close click did not hide";
    pointer::MoveTo(640, 780);
    ::PostMessageW(window(), kTrayCallback, 0, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window()) != FALSE; })) << "the window did not come back";
  }

  std::unique_ptr<HuevikProcess> huevik_;
  std::vector<COLORREF> normal_;
  HWND other_ = nullptr;
};

enum class Then { PointerLeaves, AnotherWindowTakesTheFront, RestoreFromTheTray };

class HoverGoesTest : public CaptionLooksTest, public ::testing::WithParamInterface<Then> {};

TEST_P(HoverGoesTest, CloseButtonReturnsToNormalAndStays) {
  ComeOntoClose();
  ASSERT_TRUE(LooksHoveredWithin(2000)) << "no hover picture on the close button";
  switch (GetParam()) {
    case Then::PointerLeaves: MoveTo({kOnClose.x, -30}); break;
    case Then::AnotherWindowTakesTheFront: AnotherWindowTakesTheFront(); break;
    case Then::RestoreFromTheTray: CloseAndBringBackFromTheTray(); break;
  }
  EXPECT_TRUE(LooksNormalWithin(2000)) << "the hover picture stayed";
  Pump(300);
  EXPECT_EQ(CloseButtonPixels(), normal_) << "the hover picture came back by itself";
}

std::string NameOf(const ::testing::TestParamInfo<Then>& info) {
  switch (info.param) {
    case Then::PointerLeaves: return "PointerLeaves";
    case Then::AnotherWindowTakesTheFront: return "AnotherWindowTakesTheFront";
    case Then::RestoreFromTheTray: return "RestoreFromTheTray";
  }
  return "?";
}

INSTANTIATE_TEST_SUITE_P(After, HoverGoesTest,
                         ::testing::Values(Then::PointerLeaves, Then::AnotherWindowTakesTheFront,
                                           Then::RestoreFromTheTray),
                         NameOf);

TEST_F(CaptionLooksTest, FirstMoveAfterARestoreFromTheTrayShowsTheHoverPictureAtOnce) {
  ComeOntoClose();
  CloseAndBringBackFromTheTray();
  ASSERT_TRUE(LooksNormalWithin(2000));
  ComeOntoClose();
  EXPECT_TRUE(LooksHoveredWithin(500)) << "the first move after the restore found the window out of date";
}

// The caption buttons' tips show under a resting pointer; the window hands the tips its
// pointer messages itself.
TEST_F(CaptionLooksTest, CaptionButtonsShowTheirTips) {
  RECT r{};
  ::GetWindowRect(window(), &r);
  MoveTo(kOnSurface);
  EXPECT_EQ(HoverTip({r.left + kOnClose.x, r.top + kOnClose.y}, huevik_->Id()), L"关闭软件");
  MoveTo(kOnSurface);
  EXPECT_EQ(HoverTip({r.left + kOnMinimise.x, r.top + kOnMinimise.y}, huevik_->Id()), L"最小化");
}

}  // namespace
