// The tray icon, its window procedures and the tray menu, on the real main window in-process.
// A logging procedure stands where TaskbarMenuWndProc forwards to, so the messages that come
// through both hooks are recorded; Shell_NotifyIconW is recorded through this program's import
// table, so every record handed to the shell is seen as it leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "colour/colour_forms.h"
#include "colour/recent_colours.h"
#include "support/main_window_fixture.h"
#include "support/patch_window.h"
#include "support/message_log.h"
#include "tray/tray_menu_owner.h"
#include "tray/taskbar_menu.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"
#include "version.h"

namespace {

// --- Messages that reach the window's own procedure -------------------------------------------

MessageLog g_log;
WNDPROC g_ownProcedure = nullptr;

UINT TaskbarCreated() { return ::RegisterWindowMessageW(L"TaskbarCreated"); }

bool Watched(UINT msg) {
  return msg == WM_SYSCOMMAND || msg == WM_CLOSE || msg == WM_SHOWWINDOW || msg == WM_TRAYCALLBACK ||
         msg == TaskbarCreated();
}

LRESULT CALLBACK LoggingProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto handle = [&] { return ::CallWindowProcW(g_ownProcedure, window, msg, wp, lp); };
  return Watched(msg) ? g_log.Around({msg, wp, lp}, handle) : handle();
}

// --- Records handed to the shell ---------------------------------------------------------------

struct ShellCall {
  DWORD action;
  NOTIFYICONDATAW record;
};

std::vector<ShellCall> g_shellCalls;
decltype(&::Shell_NotifyIconW) g_realShellNotify = nullptr;

BOOL WINAPI RecordingShellNotify(DWORD action, PNOTIFYICONDATAW data) {
  ShellCall call{action, {}};
  std::memcpy(&call.record, data, std::min<std::size_t>(data->cbSize, sizeof call.record));
  g_shellCalls.push_back(call);
  return g_realShellNotify(action, data);
}

// Points this program's import of Shell_NotifyIconW at the recorder; the shell still gets every call.
void RecordShellCalls() {
  if (g_realShellNotify) return;
  HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
  auto real = reinterpret_cast<decltype(&::Shell_NotifyIconW)>(
      reinterpret_cast<void*>(::GetProcAddress(shell, "Shell_NotifyIconW")));
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function; ++slot) {
      if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(real)) continue;
      DWORD old = 0;
      ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&RecordingShellNotify);
      ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
      g_realShellNotify = real;
    }
  }
}

// The text of a field: its units up to the NUL.
template <std::size_t N>
std::wstring FieldText(const wchar_t (&field)[N]) {
  return std::wstring(field, wcsnlen(field, N));
}

const std::wstring kVersionTip = L"Huevik Version" HUEVIK_VERSION_SHORT " (Zentrik)";
const std::wstring kReminderTip = L"主人我在这里";
const std::wstring kReminderBalloon = L"想起我来点一下我哦!";

// What a call told the shell: the action, the tooltip (also the balloon title) and the balloon.
struct ShellAction {
  DWORD action;
  std::wstring tip;
  std::wstring balloon;
};

void ExpectShellCalls(const std::vector<ShellAction>& expected, HWND window) {
  ASSERT_EQ(g_shellCalls.size(), expected.size()) << "calls to the shell";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const NOTIFYICONDATAW& r = g_shellCalls[i].record;
    SCOPED_TRACE("shell call " + std::to_string(i));
    EXPECT_EQ(g_shellCalls[i].action, expected[i].action);
    EXPECT_EQ(r.cbSize, kTrayRecordSize);
    EXPECT_EQ(r.hWnd, window);
    EXPECT_EQ(r.uID, 0u);
    EXPECT_EQ(r.uFlags, 31u);
    EXPECT_EQ(r.uCallbackMessage, 1025u);
    EXPECT_NE(r.hIcon, nullptr);
    EXPECT_EQ(FieldText(r.szTip), expected[i].tip);
    EXPECT_EQ(FieldText(r.szInfoTitle), expected[i].tip) << "the balloon title is the tooltip";
    EXPECT_EQ(FieldText(r.szInfo), expected[i].balloon);
    EXPECT_EQ(r.uTimeout, 5000u);
    EXPECT_EQ(r.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  }
}

WNDPROC InstalledProcedure(HWND window) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
}

class TrayFormTest : public MainWindowTest {
 protected:
  void SetUp() override {
    RecordShellCalls();
    ASSERT_NE(g_realShellNotify, nullptr) << "Shell_NotifyIconW is not imported";
    g_shellCalls.clear();
    MainWindowTest::SetUp();
    startupCalls_ = g_shellCalls;
    g_shellCalls.clear();
    g_ownProcedure = TaskbarMenu::TaskbarPrevProc;
    TaskbarMenu::TaskbarPrevProc = LoggingProc;
    g_log.Clear();
    g_log.Name(WM_TRAYCALLBACK, "WM_TRAYCALLBACK");
    g_log.Name(TaskbarCreated(), "TaskbarCreated");
  }
  void TearDown() override {
    TaskbarMenu::TaskbarPrevProc = g_ownProcedure;
    MainWindowTest::TearDown();
  }
  HWND window() { return form().hWnd(); }
  LRESULT Callback(WPARAM wp, LPARAM event) { return ::SendMessageW(window(), WM_TRAYCALLBACK, wp, event); }
  RECT Place() {
    RECT r{};
    ::GetWindowRect(window(), &r);
    return r;
  }

  std::vector<ShellCall> startupCalls_;
};

TEST_F(TrayFormTest, StartupAddsTheIconWithTheVersionTipAndNoBalloon) {
  EXPECT_EQ(TrayIcon::VersionTip(form()), kVersionTip);
  g_shellCalls = startupCalls_;
  ExpectShellCalls({{NIM_ADD, kVersionTip, L""}}, window());
  if (!g_shellCalls.empty()) {
    EXPECT_EQ(g_shellCalls[0].record.hIcon, form().Icon());
  }
}

TEST_F(TrayFormTest, CloseFromTheTaskbarMenuHidesToTheTrayWithTheReminder) {
  ::SendMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  // The hook closes the window first, then passes the command on; the window's own procedure
  // turns the passed-on command into a second close, which finds the window already hidden.
  EXPECT_TRUE(g_log.Is({{WM_CLOSE, 0, 0, 0},
                          {WM_SHOWWINDOW, FALSE, 0, 1},
                          {WM_SYSCOMMAND, SC_CLOSE, 0, 0},
                          {WM_CLOSE, 0, 0, 1}}));
  EXPECT_FALSE(form().Visible());
  EXPECT_TRUE(form().Minimised());
  EXPECT_TRUE(TrayIcon::RemindOnClose);
  ExpectShellCalls({{NIM_MODIFY, kReminderTip, kReminderBalloon}, {NIM_MODIFY, kReminderTip, kReminderBalloon}},
                   window());
}

TEST_F(TrayFormTest, CloseCommandWithLowBitsSetIsOnlyPassedOn) {
  for (WPARAM command : {WPARAM{SC_CLOSE | 1}, WPARAM{SC_CLOSE | 8}, WPARAM{SC_CLOSE | 0xF}}) {
    SCOPED_TRACE(command);
    g_log.Clear();
    ::SendMessageW(window(), WM_SYSCOMMAND, command, 0);
    // Whatever the window's own procedure makes of it, no close may come before the command
    // itself arrives: that would be the hook's own close.
    ASSERT_FALSE(g_log.Entries().empty()) << "the command never came through";
    EXPECT_EQ(g_log.Entries().front(), (Logged{WM_SYSCOMMAND, command, 0, 0})) << g_log.Dump();
    for (const Logged& m : g_log.Entries())
      if (m.msg == WM_CLOSE) {
        EXPECT_GT(m.depth, 0) << "a close from outside the command" << g_log.Dump();
      }
    form().SetMinimised(false);
    form().Show();
  }
}

TEST_F(TrayFormTest, LeftClickOnTheIconBringsBackOnlyAMinimisedWindow) {
  const RECT home = Place();
  // Only a minimised window comes back, hidden or not.
  const struct {
    const char* state;
    void (*enter)(MainWindow&);
    bool shownAfter;
  } rows[] = {
      {"minimised", [](MainWindow& f) { f.SetMinimised(true); }, true},
      {"closed", [](MainWindow& f) { ::SendMessageW(f.hWnd(), WM_CLOSE, 0, 0); }, true},
      {"hidden", [](MainWindow& f) { f.Hide(); }, false},
      {"normal", [](MainWindow&) {}, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.state);
    row.enter(form());
    Pump(20);
    g_log.Clear();
    Callback(0, WM_LBUTTONUP);
    Pump(20);
    EXPECT_TRUE(g_log.Is({{WM_TRAYCALLBACK, 0, WM_LBUTTONUP, 0}}));
    EXPECT_EQ(form().Visible(), row.shownAfter);
    EXPECT_FALSE(form().Minimised());
    const RECT now = Place();
    if (row.shownAfter) {
      EXPECT_TRUE(::EqualRect(&home, &now)) << "not back at its place: " << now.left << "," << now.top;
    }
    form().Show();
  }
}

TEST_F(TrayFormTest, OtherCallbacksDoNothingAndArePassedOn) {
  form().SetMinimised(true);
  Pump(20);
  const struct {
    WPARAM id;
    LPARAM event;
  } rows[] = {{0, WM_LBUTTONDOWN},      {0, WM_LBUTTONDBLCLK},     {0, WM_RBUTTONDOWN},     {0, WM_MOUSEMOVE},
              {0, WM_MBUTTONUP},        {0, NIN_BALLOONSHOW},      {0, NIN_BALLOONHIDE},    {0, NIN_BALLOONTIMEOUT},
              {1, WM_LBUTTONUP},        {1, NIN_BALLOONUSERCLICK}, {7, WM_LBUTTONUP},       {0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "wp=" << row.id << " lp=0x" << std::hex << row.event);
    g_log.Clear();
    g_shellCalls.clear();
    Callback(row.id, row.event);
    EXPECT_TRUE(g_log.Is({{WM_TRAYCALLBACK, row.id, row.event, 0}}));
    EXPECT_TRUE(form().Minimised());
    EXPECT_TRUE(TrayIcon::RemindOnClose);
    EXPECT_TRUE(g_shellCalls.empty()) << "the icon was changed";
  }
}

TEST_F(TrayFormTest, BalloonClickEndsTheRemindersForTheRun) {
  // Unclicked balloons keep coming at every close.
  for (int close = 0; close < 2; ++close) ::SendMessageW(window(), WM_CLOSE, 0, 0);
  ExpectShellCalls({{NIM_MODIFY, kReminderTip, kReminderBalloon}, {NIM_MODIFY, kReminderTip, kReminderBalloon}},
                   window());

  g_shellCalls.clear();
  Callback(0, NIN_BALLOONUSERCLICK);
  EXPECT_FALSE(TrayIcon::RemindOnClose);
  ExpectShellCalls({{NIM_MODIFY, kVersionTip, L""}}, window());

  g_shellCalls.clear();
  Callback(0, WM_LBUTTONUP);
  EXPECT_TRUE(form().Visible());
  EXPECT_TRUE(g_shellCalls.empty()) << "bringing the window back changed the icon";
  ::SendMessageW(window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form().Visible());
  EXPECT_FALSE(TrayIcon::RemindOnClose);
  ExpectShellCalls({{NIM_MODIFY, kVersionTip, L""}}, window());
}

TEST_F(TrayFormTest, SecondSetTrayIconModifiesWithoutHookingAgain) {
  TrayIcon::SetTrayIcon(form(), L"second", L"", NIIF_INFO, 5000);
  ExpectShellCalls({{NIM_MODIFY, L"second", L""}}, window());
  EXPECT_EQ(InstalledProcedure(window()), &TrayIcon::TrayWndProc);
  EXPECT_EQ(TrayIcon::TrayPrevProc, &TaskbarMenu::TaskbarMenuWndProc);
  // A hook that had saved itself as its own successor would never reach the window.
  Callback(0, WM_MOUSEMOVE);
  EXPECT_TRUE(g_log.Is({{WM_TRAYCALLBACK, 0, WM_MOUSEMOVE, 0}}));
}

TEST_F(TrayFormTest, RemoveDeletesOnceAndUnhooks) {
  TrayIcon::RemoveTrayIcon(form());
  ASSERT_EQ(g_shellCalls.size(), 1u);
  const NOTIFYICONDATAW& r = g_shellCalls[0].record;
  EXPECT_EQ(g_shellCalls[0].action, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(r.cbSize, kTrayRecordSize);
  EXPECT_EQ(r.hWnd, window());
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 1025u);
  EXPECT_EQ(FieldText(r.szTip), std::wstring(std::size(r.szTip) - 1, L' '));
  EXPECT_EQ(std::wstring(r.szInfo, std::size(r.szInfo)), std::wstring(std::size(r.szInfo), L'\0'));
  EXPECT_EQ(r.uTimeout, 0u);
  EXPECT_EQ(r.dwInfoFlags, 0u);
  EXPECT_EQ(TrayIcon::TrayPrevProc, nullptr);
  EXPECT_EQ(InstalledProcedure(window()), &TaskbarMenu::TaskbarMenuWndProc);

  // With no icon, a remove neither calls the shell nor touches the chain.
  for (int again = 0; again < 2; ++again) TrayIcon::RemoveTrayIcon(form());
  EXPECT_EQ(g_shellCalls.size(), 1u);
  EXPECT_EQ(InstalledProcedure(window()), &TaskbarMenu::TaskbarMenuWndProc);

  // With the icon gone, the next set adds it and hooks again.
  TrayIcon::SetTrayIcon(form(), kVersionTip, L"", NIIF_INFO, 5000);
  ASSERT_EQ(g_shellCalls.size(), 2u);
  EXPECT_EQ(g_shellCalls[1].action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(InstalledProcedure(window()), &TrayIcon::TrayWndProc);
  EXPECT_EQ(TrayIcon::TrayPrevProc, &TaskbarMenu::TaskbarMenuWndProc);
}

TEST_F(TrayFormTest, RestartedShellGetsTheIconAgainWithTheCurrentTip) {
  ::SendMessageW(window(), WM_CLOSE, 0, 0);
  g_shellCalls.clear();
  g_log.Clear();
  ::SendMessageW(window(), TaskbarCreated(), 0, 0);
  EXPECT_TRUE(g_log.Is({{TaskbarCreated(), 0, 0, 0}}));
  ExpectShellCalls({{NIM_ADD, kReminderTip, L""}}, window());
  EXPECT_EQ(InstalledProcedure(window()), &TrayIcon::TrayWndProc) << "the add must not hook again";
  EXPECT_EQ(TrayIcon::TrayPrevProc, &TaskbarMenu::TaskbarMenuWndProc);
}

// --- The tray menu, driven from a second thread while the pop-up's loop runs ------------------

struct WindowSearch {
  const wchar_t* cls;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND w, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(w, &owner);
  wchar_t cls[64] = {};
  ::GetClassNameW(w, cls, 64);
  if (owner != ::GetCurrentProcessId() || !::IsWindowVisible(w) || std::wcscmp(cls, s->cls) != 0) return TRUE;
  if (s->title && ReadWindowText(w) != s->title) return TRUE;
  s->found = w;
  return FALSE;
}

HWND VisibleWindowOfThisProcess(const wchar_t* className, const wchar_t* title = nullptr) {
  WindowSearch search{className, title, nullptr};
  ::EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 3000) {
  for (DWORD start = ::GetTickCount(); !condition(); ::Sleep(20))
    if (::GetTickCount() - start > timeoutMs) return false;
  return true;
}

// What the driver saw while the menu, and then the About box, were open.
struct MenuVisit {
  HWND mainWindow = nullptr;
  bool chooseAbout = false;
  bool menuSeen = false;
  bool mainInFront = false;
  std::vector<std::wstring> items;  // "-" for a separator; " >" after a submenu's, " (grey)" after a greyed one
  bool aboutSeen = false;
  bool mainShownDuringAbout = true;
  std::wstring aboutText;
  bool informationIcon = false;
  std::vector<int> buttonsShown;
};

void ReadMenu(HWND menuWindow, MenuVisit& visit) {
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    std::wstring item = (info.fType & MFT_SEPARATOR) ? L"-" : text;
    for (int sub = 0; info.hSubMenu && sub < ::GetMenuItemCount(info.hSubMenu); ++sub) {
      MENUITEMINFOW subInfo{};
      subInfo.cbSize = sizeof subInfo;
      subInfo.fMask = MIIM_BITMAP;
      ::GetMenuItemInfoW(info.hSubMenu, static_cast<UINT>(sub), TRUE, &subInfo);
      ::GetMenuStringW(info.hSubMenu, static_cast<UINT>(sub), text, 64, MF_BYPOSITION);
      item += std::wstring(L" > ") + (subInfo.hbmpItem ? L"[swatch]" : L"") + (*text ? text : L"-");
    }
    if ((info.fState & MFS_GRAYED) && !(info.fType & MFT_SEPARATOR)) item += L" (grey)";
    visit.items.push_back(item);
  }
}

BOOL CALLBACK NoteInformationIcon(HWND child, LPARAM param) {
  auto* visit = reinterpret_cast<MenuVisit*>(param);
  if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child)) {
    HICON icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    visit->informationIcon = icon && icon == ::LoadIconW(nullptr, IDI_INFORMATION);
  }
  return TRUE;
}

void ReadAbout(HWND box, MenuVisit& visit) {
  visit.aboutSeen = true;
  visit.mainShownDuringAbout = ::IsWindowVisible(visit.mainWindow) != FALSE;
  wchar_t text[512] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 512);
  visit.aboutText = text;
  ::EnumChildWindows(box, NoteInformationIcon, reinterpret_cast<LPARAM>(&visit));
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = ::GetDlgItem(box, id);
    if (button && ::IsWindowVisible(button)) visit.buttonsShown.push_back(id);
  }
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

DWORD WINAPI DriveTrayMenu(void* param) {
  auto& visit = *static_cast<MenuVisit*>(param);
  HWND menuWindow = nullptr;
  visit.menuSeen = WaitFor([&] { return (menuWindow = VisibleWindowOfThisProcess(L"#32768")) != nullptr; });
  if (!visit.menuSeen) return 0;
  visit.mainInFront = ::GetForegroundWindow() == visit.mainWindow;
  ReadMenu(menuWindow, visit);
  if (!visit.chooseAbout) {
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    return 0;
  }
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  HWND box = nullptr;
  if (WaitFor([&] { return (box = VisibleWindowOfThisProcess(L"#32770", L"关于软件")) != nullptr; }))
    ReadAbout(box, visit);
  return 0;
}

// Runs the right-click callback with the driver at work; the pop-up blocks until it closes.
MenuVisit RightClickWithDriver(HWND mainWindow, bool chooseAbout) {
  MenuVisit visit;
  visit.mainWindow = mainWindow;
  visit.chooseAbout = chooseAbout;
  const unique_kernel_handle driver(::CreateThread(nullptr, 0, DriveTrayMenu, &visit, 0, nullptr));
  ::SendMessageW(mainWindow, WM_TRAYCALLBACK, 0, WM_RBUTTONUP);
  ::WaitForSingleObject(driver.get(), 10000);
  return visit;
}

// The shortcut's item says when another program holds it, and finds it again once it is free; the
// recent colours show in the chosen form, each with its swatch, greyed while there are none.
TEST_F(TrayFormTest, RightClickOpensTheMenuInFrontOfTheHiddenWindow) {
  ::SendMessageW(window(), WM_CLOSE, 0, 0);
  const std::wstring pickItem = L"冻结屏幕取色(&F)\tWin+Alt+C", empty = L"最近的颜色(&R) > - > 清除列表(&C) (grey)";
  const std::wstring two = L"最近的颜色(&R) > [swatch]#302010 > [swatch]#FF0000 > - > 清除列表(&C)";
  // In the default form a value holds "&": the menu's own string doubles it, so it reads as it is.
  const std::wstring vb = L"最近的颜色(&R) > [swatch]&&H30201&& > [swatch]&&H102030&& > [swatch]&&HFF&& > - > 清除列表(&C)";
  const struct {
    bool held, recent, vbForm;
    std::wstring pick, recentItem;
  } kMenus[] = {{false, false, false, pickItem, empty},
                {true, true, false, pickItem + L" 已被其他程序占用", two},
                {false, true, false, pickItem, two},
                {false, true, true, pickItem, vb}};
  PatchWindow holder({0, 0}, {0});
  for (const auto& menu : kMenus) {
    if (menu.held) {
      form().Picks().UnregisterHotkey();
      ASSERT_TRUE(::RegisterHotKey(holder.hwnd(), 7, kPickHotkeyModifiers, kPickHotkeyKey));
    } else {
      ::UnregisterHotKey(holder.hwnd(), 7);
    }
    if (menu.recent) {
      form().WebFormOption.SetValue(true);
      RecentColours::Take(0x0000FF);
      RecentColours::Take(0x102030);
    }
    if (menu.vbForm) {
      form().VbFormOption.SetValue(true);
      RecentColours::Take(0x030201);
    }
    g_log.Clear();
    MenuVisit visit = RightClickWithDriver(window(), false);
    ASSERT_TRUE(visit.menuSeen) << "no pop-up menu";
    EXPECT_TRUE(visit.mainInFront) << "the main window was not made the foreground window";
    EXPECT_EQ(visit.items, (std::vector<std::wstring>{L"关于软件", menu.pick, menu.recentItem, L"-", L"退出"}));
    EXPECT_FALSE(form().Visible());
    ASSERT_FALSE(g_log.Entries().empty());
    EXPECT_EQ(g_log.Entries().back(), (Logged{WM_TRAYCALLBACK, 0, WM_RBUTTONUP, 0}))
        << "not passed on after the menu" << g_log.Dump();
  }
  RecentColours::Clear();
}

// While the menu is open a colour is taken and another right-click comes: the first recent item
// still gives the colour it shows, not the one now first in the list.
std::atomic<bool> g_listChanged{false};
void CALLBACK ChangeTheListUnderTheMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  RecentColours::Take(0x445566);
  ::SendMessageW(::FindWindowW(L"HuevikForm", L"Huevik"), WM_TRAYCALLBACK, 0, WM_RBUTTONUP);
  g_listChanged = true;
}

DWORD WINAPI ChooseTheFirstRecentColour(void*) {
  HWND menuWindow = nullptr;
  const bool ready = WaitFor([&] { return g_listChanged && (menuWindow = VisibleWindowOfThisProcess(L"#32768")); });
  if (ready) {
    ::PostMessageW(menuWindow, WM_CHAR, 'r', 0);
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  }
  // A menu still open is closed, so the case ends.
  WaitFor([&] { return !(menuWindow = VisibleWindowOfThisProcess(L"#32768")); }, 1000);
  if (menuWindow) ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  return 0;
}

TEST_F(TrayFormTest, AnItemChosenAfterTheListChangedGivesWhatItShows) {
  form().WebFormOption.SetValue(true);
  RecentColours::Take(0x0000FF);
  RecentColours::Take(0x102030);
  g_listChanged = false;
  ::SetTimer(nullptr, 0, 200, ChangeTheListUnderTheMenu);
  const unique_kernel_handle driver(::CreateThread(nullptr, 0, ChooseTheFirstRecentColour, nullptr, 0, nullptr));
  ::SendMessageW(window(), WM_TRAYCALLBACK, 0, WM_RBUTTONUP);
  ::WaitForSingleObject(driver.get(), 10000);
  EXPECT_TRUE(g_listChanged);
  EXPECT_EQ(form().Fields().Current(), 0x102030u);
  EXPECT_EQ(form().ValueField.Text(), L"#302010");
  RecentColours::Clear();
}

// The hotkey with the menu open does what the menu's item does: the menu goes, then the screen
// beneath freezes.
DWORD WINAPI PressTheHotkeyOverTheMenu(void* mainWindow) {
  HWND menuWindow = nullptr;
  if (WaitFor([&] { return (menuWindow = VisibleWindowOfThisProcess(L"#32768")) != nullptr; }))
    ::PostMessageW(static_cast<HWND>(mainWindow), WM_HOTKEY, kPickHotkeyId,
                   MAKELPARAM(kPickHotkeyModifiers, kPickHotkeyKey));
  if (!WaitFor([&] { return !VisibleWindowOfThisProcess(L"#32768"); }, 1000) && menuWindow)
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  return 0;
}

TEST_F(TrayFormTest, TheHotkeyWithTheMenuOpenClosesItAndFreezesTheScreen) {
  const unique_kernel_handle driver(::CreateThread(nullptr, 0, PressTheHotkeyOverTheMenu, window(), 0, nullptr));
  ::SendMessageW(window(), WM_TRAYCALLBACK, 0, WM_RBUTTONUP);  // returns once the menu is gone
  ::WaitForSingleObject(driver.get(), 10000);
  EXPECT_TRUE(PumpUntil([&] { return form().Picks().ScreenFrozen(); })) << "the screen did not freeze";
  form().Picks().StartOrEndFrozenPick();  // the hotkey again: dropped
}

// The value field's menu, asked for by the key: each of the colour's forms as the text it copies
// (its "&" doubled in the menu's own string, so that it reads as it is). Choosing one is driven
// end to end.
TEST_F(TrayFormTest, TheValueFieldsMenuShowsTheColourInEveryForm) {
  form().Fields().Show(0xF7AD6B);
  MenuVisit visit;
  const unique_kernel_handle driver(::CreateThread(nullptr, 0, DriveTrayMenu, &visit, 0, nullptr));
  ::SendMessageW(form().ValueField.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form().ValueField.Handle()), -1);
  ::WaitForSingleObject(driver.get(), 10000);
  std::vector<std::wstring> shown;
  for (const ColourForm& colourForm : ColourForms()) shown.push_back(MenuText(colourForm.text(0xF7AD6B)));
  EXPECT_EQ(visit.items, shown);
  EXPECT_EQ(visit.items.front(), L"&&HF7AD6B&&");
}

TEST_F(TrayFormTest, AboutShowsTheThanksBoxWithoutShowingTheWindow) {
  ::SendMessageW(window(), WM_CLOSE, 0, 0);
  MenuVisit visit = RightClickWithDriver(window(), true);
  ASSERT_TRUE(visit.menuSeen) << "no pop-up menu";
  ASSERT_TRUE(visit.aboutSeen) << "no box titled 关于软件";
  EXPECT_FALSE(visit.mainShownDuringAbout);
  EXPECT_TRUE(visit.informationIcon);
  EXPECT_EQ(visit.buttonsShown, std::vector<int>{IDOK});
  // Four lines: the fixed thanks, then the credit and two contact lines, no line end at the end.
  std::vector<std::wstring> lines;
  for (std::size_t start = 0;;) {
    std::size_t end = visit.aboutText.find(L"\r\n", start);
    lines.push_back(visit.aboutText.substr(start, end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], L"感谢您使用 Huevik  ");
  for (std::size_t i = 1; i < 4; ++i) EXPECT_FALSE(lines[i].empty()) << "line " << i + 1;
  EXPECT_FALSE(form().Visible());
  EXPECT_EQ(TrayIcon::TrayPrevProc, &TaskbarMenu::TaskbarMenuWndProc) << "About touched the icon";
}

}  // namespace
