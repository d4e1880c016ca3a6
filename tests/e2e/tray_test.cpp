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
#include "support/patch_window.h"
#include "support/pointer.h"
#include "support/shell_windows.h"
#include "win32/clipboard.h"
#include "version.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;

// Wine's stand-alone tray: its icon windows, their tips and the balloon.
namespace wine_tray {

using ::wine_tray::Icons;
using ::wine_tray::Window;
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
  std::wstring ValueField() const { return ReadWindowText(huevik_->ChildAt(85, 45)); }
  void Restart() {
    huevik_.reset();
    ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().empty(); }));
    huevik_ = std::make_unique<HuevikProcess>();
    ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().size() == 1; })) << "no icon in Wine's tray";
    icon_ = wine_tray::Icons().front();
  }
  // Opens the menu and chooses the nth recent colour by keyboard: up past Exit and the
  // separator, right into the submenu, down to the colour.
  void ChooseRecentColour(int nth) {
    ASSERT_NE(OpenMenu(), nullptr);
    for (WORD key : {VK_UP, VK_UP, VK_RIGHT}) Key(key);
    for (int i = 1; i < nth; ++i) Key(VK_DOWN);
    Key(VK_RETURN);
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

// Two palette clicks are the recent colours after a restart; what the store holds besides them
// is passed over, and a stored list comes back as it was.
TEST_F(TrayTest, RecentColoursComeBackAfterARestartChosenByKeyboard) {
  std::wstring taken[2];
  for (int i = 0; i < 2; ++i) {
    POINT palette{60 + 150 * i, 170};
    ::ClientToScreen(window(), &palette);
    pointer::ClickAt(palette.x, palette.y);
    Pump(100);
    taken[i] = ValueField();
  }
  ASSERT_NE(taken[0], taken[1]);
  const std::wstring stored = stored::Read(L"Recent");
  EXPECT_EQ(stored.size(), 15u) << testing::PrintToString(stored);
  const struct {
    const wchar_t* stored;  // nullptr: as the run before left it
    int nth;
    std::wstring shown;
  } kStarts[] = {{nullptr, 2, taken[0]}, {nullptr, 1, taken[1]},
                 {L"#zzzzzz #ABCDEF junk #abcdef #123456 #1234567", 2, L"&H563412&"}};
  PatchWindow clipboardOwner({1200, 700}, {0});  // clear of the tray at the top left
  for (const auto& start : kStarts) {
    if (start.stored) stored::Write(L"Recent", start.stored);
    Restart();
    if (HasFatalFailure()) return;
    CopyTextToClipboard(clipboardOwner.hwnd(), L"before");
    ChooseRecentColour(start.nth);
    EXPECT_TRUE(PumpUntil([&] { return ValueField() == start.shown; })) << "shows " << testing::PrintToString(ValueField());
    EXPECT_EQ(ClipboardText(), start.shown);
  }
  EXPECT_EQ(stored::Read(L"Recent"), kStarts[2].stored) << "reading or choosing a recent colour wrote the store";
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

// A fault in a handler (made in a build for the tests) ends the program through the fail-fast path.
// The end of the session ends nothing: the system ends the process once it is answered, so any
// program may send or post it, sent or posted, and the program and its icon stay.
TEST(TrayEnds, AFaultEndsThroughTheFailFastPathAndTheEndOfTheSessionEndsNothing) {
  {
    HuevikProcess faulty(TestProgramDir() + L"\\faulty");
    ::PostMessageW(faulty.Window(), ::RegisterWindowMessageW(L"HuevikTest.InjectFault"), 0, 0);
    DWORD status = 99;
    EXPECT_TRUE(faulty.WaitForExit(5000, &status) && status == 0xC0000602) << std::hex << status;
  }
  HuevikProcess huevik;
  ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().size() == 1; })) << "no icon";
  DWORD_PTR mayEnd = FALSE;
  for (LPARAM why : {LPARAM{0}, LPARAM{ENDSESSION_CLOSEAPP}, static_cast<LPARAM>(ENDSESSION_LOGOFF)}) {
    ::SendMessageTimeoutW(huevik.Window(), WM_QUERYENDSESSION, 0, why, SMTO_ABORTIFHUNG, 2000, &mayEnd);
    EXPECT_EQ(mayEnd, TRUE) << "the session may not end";
    ::PostMessageW(huevik.Window(), WM_ENDSESSION, TRUE, why);
    ::SendMessageTimeoutW(huevik.Window(), WM_ENDSESSION, TRUE, why, SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  EXPECT_TRUE(huevik.Running());
  EXPECT_EQ(wine_tray::Icons().size(), 1u) << "the icon went";
}

TEST(HeldShortcut, LeavesTheProgramRunningAndItsMenuItemStillFreezesTheScreen) {
  stored::Clear();
  PatchWindow holder({1200, 700}, {0});
  ASSERT_TRUE(::RegisterHotKey(holder.hwnd(), 7, MOD_WIN | MOD_ALT, 'C'));
  HuevikProcess huevik;
  EXPECT_TRUE(huevik.Running());
  ::PostMessageW(huevik.Window(), WM_USER + 1, 0, WM_RBUTTONUP);
  ASSERT_TRUE(PumpUntil([&] { return VisibleTopWindow(L"#32768", huevik.Id()) != nullptr; })) << "no menu";
  for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) Key(key);
  EXPECT_TRUE(PumpUntil([&] { return ShownFrozenScreen(huevik.Id()) != nullptr; })) << "the item froze nothing";
  Key(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return ShownFrozenScreen(huevik.Id()) == nullptr; }));
  ::UnregisterHotKey(holder.hwnd(), 7);
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
