// The two procedures in front of the main window's own: hooking again must never make one of them
// its own successor, and a destroyed window must leave them as they were before it was hooked.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "mainwindow/hover_tracking.h"
#include "support/main_window_fixture.h"
#include "tray/taskbar_menu.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"

namespace {

WNDPROC Installed(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)); }

std::string NameOf(WNDPROC proc) {
  if (proc == &TrayIcon::TrayWndProc) return "TrayWndProc";
  if (proc == &TaskbarMenu::TaskbarMenuWndProc) return "TaskbarMenuWndProc";
  return proc ? "the window's own" : "nothing";
}

// Our procedures in the order a message meets them, then the first that is not ours. A hook that
// leads back into the chain shows as a repeat, and the walk stops there.
std::string ChainOf(HWND window) {
  std::string chain;
  WNDPROC proc = Installed(window);
  for (int step = 0; step < 4; ++step) {
    chain += (chain.empty() ? "" : " -> ") + NameOf(proc);
    if (proc == &TrayIcon::TrayWndProc)
      proc = TrayIcon::TrayPrevProc;
    else if (proc == &TaskbarMenu::TaskbarMenuWndProc)
      proc = TaskbarMenu::TaskbarPrevProc;
    else
      return chain;
  }
  return chain + " (loops)";
}

// Whether the shell holds an icon of this window: only a present icon can be modified.
bool ShellHasIcon(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uFlags = NIF_TIP;
  return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

using HookChainTest = MainWindowTest;

TEST_F(HookChainTest, HookingAgainLeavesEachProcedureOnceInFrontOfTheOwn) {
  const std::string full = "TrayWndProc -> TaskbarMenuWndProc -> the window's own";
  const std::string taskbarOnly = "TaskbarMenuWndProc -> the window's own";
  const struct {
    const char* name;
    std::function<void(MainWindow&)> act;
    std::string chain;
  } rows[] = {
      {"taskbar hook again", [](MainWindow& f) { TaskbarMenu::HookTaskbarMenu(f.hWnd()); }, full},
      {"taskbar hook again with no icon",
       [](MainWindow& f) {
         TrayIcon::RemoveTrayIcon(f);
         TaskbarMenu::HookTaskbarMenu(f.hWnd());
       },
       taskbarOnly},
  };
  HWND window = form().hWnd();
  ASSERT_EQ(ChainOf(window), full) << "after startup";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    row.act(form());
    // Checked before any message is sent: a loop in the chain would overflow the stack.
    ASSERT_EQ(ChainOf(window), row.chain);
    // Both hooks still answer: Close from the taskbar button hides the window.
    ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(form().Visible());
    form().SetMinimised(false);
    form().Show();
    if (!TrayIcon::TrayPrevProc) TrayIcon::SetTrayIcon(form(), L"back", L"", NIIF_INFO, 5000);
  }
}

TEST_F(HookChainTest, DestroyedWindowTakesItsHooksAndIconAndTheNextWindowGetsItsOwn) {
  HWND first = form().hWnd();
  ASSERT_TRUE(ShellHasIcon(first));
  ::DestroyWindow(first);
  EXPECT_EQ(TrayIcon::TrayPrevProc, nullptr) << "a hook left behind by the destroyed window";
  EXPECT_EQ(TaskbarMenu::TaskbarPrevProc, nullptr) << "a hook left behind by the destroyed window";
  ::KillTimer(nullptr, HoverTracking::HoverTimerId);

  MainWindow next;
  next.Show();
  Pump(20);
  EXPECT_EQ(ChainOf(next.hWnd()), "TrayWndProc -> TaskbarMenuWndProc -> the window's own");
  EXPECT_TRUE(ShellHasIcon(next.hWnd())) << "the next window's icon was never added";
  StopMainWindowServices(next);
}

}  // namespace
