// Startup and the close handling, on the real main window in-process.
#include <gtest/gtest.h>

#include "mainwindow/hover_tracking.h"
#include "support/main_window_fixture.h"
#include "tray/taskbar_menu.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"

namespace {

using StartupFormTest = MainWindowTest;

TEST_F(StartupFormTest, LoadLeavesTheWindowKeyedAndHookedWithTheHoverTimerAtRest) {
  HWND window = form().hWnd();
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(window, &key, &alpha, &flags)) << ::GetLastError();
  EXPECT_EQ(key, 0x00FF0000u);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(form().BackColor(), 0x00FF0000u);
  EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "not topmost";
  EXPECT_EQ(HoverTracking::HoverTimerId, 0u) << "the pointer is away: nothing needs the hover timer";
  EXPECT_TRUE(TrayIcon::RemindOnClose);
  EXPECT_NE(TrayIcon::TrayPrevProc, nullptr);
  // The chain: tray procedure, then the taskbar menu's, then the window's own.
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)), &TrayIcon::TrayWndProc);
  EXPECT_EQ(TrayIcon::TrayPrevProc, &TaskbarMenu::TaskbarMenuWndProc);
  EXPECT_NE(TaskbarMenu::TaskbarPrevProc, nullptr);
  // Hooked in the wide form, the window's text messages still carry Unicode.
  EXPECT_TRUE(::IsWindowUnicode(window));
}

TEST_F(StartupFormTest, HoverRectangleDescribesTheWindowAtTheOrigin) {
  // Taken before the saved place is restored: the window then still stood at (0, 0).
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Left, 0.0f);
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Top, 0.0f);
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Width, 300.0f);
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Height, 263.0f);
  RECT placed{};
  ::GetWindowRect(form().hWnd(), &placed);
  EXPECT_NE(placed.left, 0) << "with nothing stored the window is centred";
}

TEST_F(StartupFormTest, UnloadIsRefusedAndTheWindowHidesMinimised) {
  form().RequestClose();
  EXPECT_TRUE(::IsWindow(form().hWnd()));
  EXPECT_FALSE(form().Visible());
  EXPECT_TRUE(form().Minimised());
  ::SendMessageW(form().hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(form().hWnd()));
  EXPECT_FALSE(form().Visible());
}

// The region is taken away before each later activation, so only that activation can give it back.
TEST_F(StartupFormTest, EachActivationGivesTheRoundedRegion) {
  const struct {
    const char* activation;
    void (*enter)(MainWindow&);
  } rows[] = {
      {"first show", [](MainWindow&) {}},
      {"restore from the tray",
       [](MainWindow& f) {
         ::SendMessageW(f.hWnd(), WM_CLOSE, 0, 0);
         ::SetWindowRgn(f.hWnd(), nullptr, TRUE);
         ::SendMessageW(f.hWnd(), WM_TRAYCALLBACK, 0, WM_LBUTTONUP);
       }},
      {"minimise and restore",
       [](MainWindow& f) {
         f.SetMinimised(true);
         ::SetWindowRgn(f.hWnd(), nullptr, TRUE);
         f.SetMinimised(false);
       }},
  };
  HWND window = form().hWnd();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.activation);
    row.enter(form());
    Pump(20);
    ASSERT_EQ(::GetActiveWindow(), window) << "the window was not activated";
    unique_region held(::CreateRectRgn(0, 0, 0, 0));
    HRGN region = held.get();
    ASSERT_NE(::GetWindowRgn(window, region), ERROR) << "no region";
    unique_region expectedRegion(::CreateRoundRectRgn(0, 0, 300, 263, 2, 2));
    HRGN expected = expectedRegion.get();
    RECT box{}, expectedBox{};
    ::GetRgnBox(region, &box);
    ::GetRgnBox(expected, &expectedBox);
    EXPECT_TRUE(::EqualRect(&box, &expectedBox)) << "region box " << box.right << " x " << box.bottom;
    // Corners cut as the 2 x 2 ellipse cuts them; edges kept.
    for (POINT p : {POINT{0, 0}, POINT{box.right - 1, 0}, POINT{0, box.bottom - 1},
                    POINT{box.right - 1, box.bottom - 1}, POINT{150, 0}, POINT{0, 131}, POINT{box.right - 1, 131},
                    POINT{150, box.bottom - 1}})
      EXPECT_EQ(::PtInRegion(region, p.x, p.y), ::PtInRegion(expected, p.x, p.y)) << p.x << "," << p.y;
  }
}

}  // namespace
