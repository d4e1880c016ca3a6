// The real program's tray icon, seen where a user sees it. With no tray manager on the display,
// Wine shows the icons in its own small tray window: each icon is a child window there that
// relays the mouse to the program as the shell's callback message, with a tooltip window for the
// icon's tip and a balloon-styled tooltip window for the balloon. The shell cannot be made to
// report a balloon click, so that one callback is posted as the shell would send it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "support/huevik_process.h"
#include "support/pointer.h"
#include "support/shell_windows.h"
#include "version.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;

// Wine's stand-alone tray: its icon windows, their tips and the balloon.
namespace wine_tray {

HWND Window() {
  std::vector<HWND> trays = VisibleTopWindows(L"__winex11_standalone_tray");
  return trays.empty() ? nullptr : trays.front();
}

std::vector<HWND> Icons() {
  std::vector<HWND> icons;
  if (HWND tray = Window())
    for (HWND icon = ::FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); icon;
         icon = ::FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr))
      if (::IsWindowVisible(icon)) icons.push_back(icon);
  return icons;
}

DWORD Process() { return ProcessOf(Window()); }
std::wstring ShownTip(bool balloon) { return ::ShownTip(Process(), balloon); }
std::wstring HoverTip(HWND icon) { return ::HoverTip(pointer::CentreOf(icon), Process()); }
std::wstring BalloonWithin(DWORD ms) { return ::BalloonWithin(Process(), ms); }
void Click(HWND icon, DWORD down, DWORD up) { ClickIcon(icon, down, up); }

}  // namespace wine_tray

const std::wstring kVersionTip = L"Huevik Version" HUEVIK_VERSION_SHORT " (Zentrik)";
const std::wstring kReminderTip = L"主人我在这里";
const std::wstring kReminderBalloon = L"想起我来点一下我哦!";

void Key(WORD key) {
  SendKey(key);
  Pump(50);
}

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    pointer::MoveTo(640, 780);
    huevik_ = std::make_unique<HuevikProcess>();
    ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().size() == 1; })) << "no icon in Wine's tray";
    icon_ = wine_tray::Icons().front();
  }
  HWND window() const { return huevik_->Window(); }
  void CloseAndWaitHidden() {
    ::PostMessageW(window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(window()); })) << "the window did not hide";
  }
  RECT Place() const {
    RECT r{};
    ::GetWindowRect(window(), &r);
    return r;
  }
  HWND OpenMenu() {
    wine_tray::Click(icon_, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    HWND menu = nullptr;
    PumpUntil([&] { return (menu = VisibleTopWindow(L"#32768", huevik_->Id())) != nullptr; });
    return menu;
  }

  std::unique_ptr<HuevikProcess> huevik_;
  HWND icon_ = nullptr;
};

TEST_F(TrayTest, CloseHidesToTheTrayAndALeftClickBringsTheWindowBack) {
  const DWORD started = ::GetTickCount();
  EXPECT_EQ(wine_tray::HoverTip(icon_), kVersionTip);
  ::Sleep(2500 - std::min<DWORD>(2500, ::GetTickCount() - started));
  EXPECT_EQ(wine_tray::ShownTip(true), L"") << "a balloon at startup";

  const RECT home = Place();
  CloseAndWaitHidden();
  EXPECT_TRUE(::IsIconic(window()));
  EXPECT_TRUE(huevik_->Running());
  EXPECT_EQ(wine_tray::BalloonWithin(4000), kReminderBalloon);
  EXPECT_EQ(wine_tray::HoverTip(icon_), kReminderTip);

  wine_tray::Click(icon_, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window()) != FALSE; })) << "the window stayed hidden";
  EXPECT_FALSE(::IsIconic(window()));
  const RECT back = Place();
  EXPECT_TRUE(::EqualRect(&home, &back)) << "came back at " << back.left << "," << back.top << " instead of "
                                         << home.left << "," << home.top;
  EXPECT_EQ(wine_tray::HoverTip(icon_), kReminderTip) << "bringing the window back changed the tip";
}

TEST_F(TrayTest, ClickedBalloonStopsTheRemindersForTheRun) {
  CloseAndWaitHidden();
  ASSERT_EQ(wine_tray::BalloonWithin(4000), kReminderBalloon);
  ::PostMessageW(window(), kTrayCallback, 0, NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(PumpUntil([] { return wine_tray::ShownTip(true).empty(); })) << "the balloon stayed";
  EXPECT_EQ(wine_tray::HoverTip(icon_), kVersionTip);

  wine_tray::Click(icon_, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window()) != FALSE; }));
  CloseAndWaitHidden();
  EXPECT_EQ(wine_tray::BalloonWithin(3500), L"") << "a balloon after the click";
  EXPECT_EQ(wine_tray::HoverTip(icon_), kVersionTip);
}

TEST_F(TrayTest, MenuShowsAboutAndExitEndsTheProgram) {
  CloseAndWaitHidden();
  ASSERT_NE(OpenMenu(), nullptr) << "no pop-up menu after a right click";
  Key(VK_DOWN);
  Key(VK_RETURN);
  HWND about = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (about = VisibleTopWindow(L"#32770", huevik_->Id(), L"关于软件")) != nullptr; }))
      << "no About box";
  EXPECT_EQ(ReadWindowText(::GetDlgItem(about, 0xFFFF)).rfind(L"感谢您使用 Huevik  ", 0), 0u)
      << "About text: " << testing::PrintToString(ReadWindowText(::GetDlgItem(about, 0xFFFF)));
  EXPECT_FALSE(::IsWindowVisible(window())) << "About showed the main window";
  ::PostMessageW(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(about) || !::IsWindowVisible(about); }));
  EXPECT_TRUE(huevik_->Running());

  ASSERT_NE(OpenMenu(), nullptr) << "no pop-up menu the second time";
  ChooseExitExpectingStatusZero(*huevik_);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PumpUntil([] { return wine_tray::Icons().empty(); })) << "the icon stayed";
}

TEST_F(TrayTest, IconComesBackWhenTheShellStartsAgain) {
  CloseAndWaitHidden();
  // The shell forgets the icon, as a restarted one would, and then announces itself.
  NOTIFYICONDATAW forget{};
  forget.cbSize = sizeof forget;
  forget.hWnd = window();
  forget.uID = 0;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &forget));
  ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().empty(); })) << "the tray kept the icon";
  ::PostMessageW(window(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().size() == 1; })) << "the icon did not come back";

  icon_ = wine_tray::Icons().front();
  EXPECT_EQ(wine_tray::HoverTip(icon_), kReminderTip);
  wine_tray::Click(icon_, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window()) != FALSE; })) << "the new icon does not answer";
}

TEST_F(TrayTest, ASecondStartBringsTheWindowBackToTheFrontAndEnds) {
  const std::pair<const char*, std::function<void()>> rows[] = {
      {"hidden in the tray", [&] { CloseAndWaitHidden(); }},
      {"minimised", [&] { ::ShowWindow(window(), SW_MINIMIZE); }},
      {"shown, another window in front", [] {}}};
  for (const auto& [state, put] : rows) {
    SCOPED_TRACE(state);
    put();
    HWND front = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 600, 9, 9, {}, {}, {}, {});
    ::SetForegroundWindow(front);
    HuevikProcess second(TestProgramDir(), L"", false);
    DWORD status = 99;
    EXPECT_TRUE(second.WaitForExit(5000, &status) && status == 0) << "the second start ended with " << status;
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == window(); })) << "not in front";
    EXPECT_TRUE(::IsWindowVisible(window()) && !::IsIconic(window()));
    EXPECT_EQ(wine_tray::Icons().size(), 1u);
    ::DestroyWindow(front);
  }
}

}  // namespace

namespace {

TEST(TrayExitCycles, FiftyStartsAndExitsLeaveNoProcessAndNoIcon) {
  stored::Clear();
  pointer::MoveTo(640, 780);
  int clean = 0;
  for (int cycle = 0; cycle < 50; ++cycle) {
    HuevikProcess huevik;
    ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().size() == 1; })) << "cycle " << cycle << ": no icon";
    ::PostMessageW(huevik.Window(), WM_USER + 1, 0, WM_RBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return VisibleTopWindow(L"#32768", huevik.Id()) != nullptr; }))
        << "cycle " << cycle << ": no menu";
    Key(VK_UP);
    Key(VK_RETURN);
    DWORD exitCode = 99;
    ASSERT_TRUE(huevik.WaitForExit(5000, &exitCode)) << "cycle " << cycle << ": still running";
    EXPECT_EQ(exitCode, 0u) << "cycle " << cycle;
    ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().empty(); })) << "cycle " << cycle << ": icon left behind";
    ++clean;
  }
  EXPECT_EQ(clean, 50);
}

// A fault in a handler (made in a build for the tests) ends the program through the fail-fast path,
// and the end of the session as Exit does. (Wine drops the icon of a process that ended by itself,
// so whether the program took it away first cannot be seen here.)
TEST(TrayEnds, AFaultEndsThroughTheFailFastPathAndTheEndOfTheSessionAsExitDoes) {
  const std::tuple<std::wstring, UINT, DWORD> rows[] = {
      {TestProgramDir() + L"\\faulty", ::RegisterWindowMessageW(L"HuevikTest.InjectFault"), 0xC0000602},
      {TestProgramDir(), WM_ENDSESSION, 0}};
  for (const auto& [dir, msg, expected] : rows) {
    HuevikProcess huevik(dir);
    DWORD_PTR mayEnd = FALSE;
    DWORD status = 99;
    ::SendMessageTimeoutW(huevik.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 2000, &mayEnd);
    ::PostMessageW(huevik.Window(), msg, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_TRUE(huevik.WaitForExit(5000, &status) && status == expected && mayEnd == TRUE)
        << msg << " ended it with " << std::hex << status << ", the session may end: " << mayEnd;
  }
}

TEST(TwoStarts, AtTheSameMomentLeaveOneWindowAndOneIcon) {
  HuevikProcess one(TestProgramDir(), L"", false), two(TestProgramDir(), L"", false);
  ASSERT_TRUE(PumpUntil([&] { return one.Running() != two.Running(); }, 8000)) << "both run on, or both ended";
  DWORD status = 99;
  (one.Running() ? two : one).WaitForExit(0, &status);
  EXPECT_EQ(status, 0u);
  HWND shown = HuevikWindowOf((one.Running() ? one : two).Id());
  EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(shown) && wine_tray::Icons().size() == 1; }));
}

}  // namespace
