// The real program's tray icon, seen where a user sees it. With no tray manager on the display,
// Wine shows the icons in its own small tray window: each icon is a child window there that
// relays the mouse to the program as the shell's callback message, with a tooltip window for the
// icon's tip and a balloon-styled tooltip window for the balloon. The shell cannot be made to
// report a balloon click, so that one callback is posted as the shell would send it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/huevik_process.h"
#include "support/pointer.h"
#include "version.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;

struct Windows {
  const wchar_t* cls;
  DWORD process;  // 0: any
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Windows*>(param);
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (::IsWindowVisible(window) && std::wstring(cls) == search->cls && (!search->process || owner == search->process))
    search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleTopWindows(const wchar_t* cls, DWORD process = 0) {
  Windows search{cls, process, {}};
  ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND VisibleTopWindow(const wchar_t* cls, DWORD process, const wchar_t* title = nullptr) {
  for (HWND window : VisibleTopWindows(cls, process))
    if (!title || ReadWindowText(window) == title) return window;
  return nullptr;
}

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

DWORD Process() {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(Window(), &owner);
  return owner;
}

POINT CentreOf(HWND icon) {
  RECT r{};
  ::GetWindowRect(icon, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A shown tip or balloon window of the tray, as a user would see it: its text.
std::wstring ShownTip(bool balloon) {
  for (HWND tip : VisibleTopWindows(TOOLTIPS_CLASSW, Process())) {
    const bool isBalloon = (::GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) != 0;
    std::wstring text = ReadWindowText(tip);
    if (isBalloon == balloon && !text.empty()) return text;
  }
  return {};
}

// Rests the pointer on the icon until its tip shows; the pointer then leaves.
std::wstring HoverTip(HWND icon) {
  POINT at = CentreOf(icon);
  pointer::MoveTo(at.x - 3, at.y);
  pointer::MoveTo(at.x, at.y);
  std::wstring text;
  PumpUntil([&] { return !(text = ShownTip(false)).empty(); }, 3000);
  pointer::MoveTo(640, 780);
  PumpUntil([] { return ShownTip(false).empty(); }, 2000);
  return text;
}

// The balloon shows two seconds after it was asked for.
std::wstring BalloonWithin(DWORD ms) {
  std::wstring text;
  PumpUntil([&] { return !(text = ShownTip(true)).empty(); }, ms);
  return text;
}

void Click(HWND icon, DWORD down, DWORD up) {
  POINT at = CentreOf(icon);
  pointer::MoveTo(at.x, at.y);
  pointer::Press(down);
  pointer::Release(up);
}

}  // namespace wine_tray

// The program hands the shell ANSI texts: what comes back is the text in the session's code page
// (exactly the Chinese text when the session runs in the Chinese locale).
std::wstring ThroughAnsi(const std::wstring& text) {
  char bytes[512] = {};
  int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
  wchar_t back[512] = {};
  ::MultiByteToWideChar(CP_ACP, 0, bytes, length, back, 512);
  return back;
}

const std::wstring kVersionTip = L"Huevik Version" HUEVIK_VERSION_SHORT " (Zentrik)";
const std::wstring kReminderTip = ThroughAnsi(L"主人我在这里");
const std::wstring kReminderBalloon = ThroughAnsi(L"想起我来点一下我哦!");

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

  // Two steps down: the separator is passed over on the way to Exit.
  ASSERT_NE(OpenMenu(), nullptr) << "no pop-up menu the second time";
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  DWORD exitCode = 99;
  ASSERT_TRUE(huevik_->WaitForExit(5000, &exitCode)) << "Exit did not end the program";
  EXPECT_EQ(exitCode, 0u);
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
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    DWORD exitCode = 99;
    ASSERT_TRUE(huevik.WaitForExit(5000, &exitCode)) << "cycle " << cycle << ": still running";
    EXPECT_EQ(exitCode, 0u) << "cycle " << cycle;
    ASSERT_TRUE(PumpUntil([] { return wine_tray::Icons().empty(); })) << "cycle " << cycle << ": icon left behind";
    ++clean;
  }
  EXPECT_EQ(clean, 50);
}

}  // namespace
