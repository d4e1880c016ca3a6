// Startup and the close handling of the main window.
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame_math.h"
#include "mainwindow/hover_tracking.h"
#include "process/skin_library.h"
#include "settings/recent_colours.h"
#include "settings/window_position.h"
#include "tray/taskbar_menu.h"
#include "tray/tray_icon.h"
#include "win32/display.h"
#include "win32/display_scale.h"

namespace {
constexpr COLORREF kColourKey = kSeeThroughKey;
constexpr DWORD kBalloonInfo = 1;  // NIIF_INFO
constexpr UINT kBalloonTimeoutMs = 5000;
}  // namespace

void Form1::Form_Load() {
  HWND window = hWnd();
  ResumeNext(
      [&] { ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE); },
      [&] { 获取鼠标坐标(); },
      [&] { SetScaleMode(3); },
      [&] { SetBackColor(kColourKey); },
      [&] {
        LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
        ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
      },
      [&] { ::SetLayeredWindowAttributes(window, kColourKey, 0, LWA_COLORKEY); },
      [&] { SkinLibrary::AttachEx(SkinLibrary::SkinPath(), ""); },
      [&] { SkinLibrary::SetAero(0); },
      [&] {
        LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        ::SetWindowLongPtrW(window, GWL_STYLE, style | WS_MINIMIZEBOX | WS_SYSMENU);
      },
      [&] { 圆角窗体::HoverTimerId = ::SetTimer(nullptr, 0, 1, 圆角窗体::HoverTimerProc); },
      [&] { 响应任务栏菜单::HookTaskbarMenu(window); },
      [&] { 托盘图标::BalloonFlag = 1; },
      [&] { 托盘图标::SetTrayIcon(*this, 托盘图标::VersionTip(*this), L"", kBalloonInfo, kBalloonTimeoutMs); },
      [&] { 记录窗体位置::RestoreWindowPos(*this); },
      [&] { RecentColours::Load(); },
      [&] { RegisterPickHotkey(); });
}

void Form1::Form_Activate() {
  const int corner = RegionCorner(2, Display::Dpi());
  ApplyRoundRegion(corner, corner);
}

void Form1::Form_Unload(short& cancel) {
  cancel = 1;
  SetWindowState(1);
  Hide();
  if (托盘图标::BalloonFlag == 1)
    托盘图标::SetTrayIcon(*this, L"主人我在这里", L"想起我来点一下我哦!", kBalloonInfo, kBalloonTimeoutMs);
  else
    托盘图标::SetTrayIcon(*this, 托盘图标::VersionTip(*this), L"", kBalloonInfo, kBalloonTimeoutMs);
}
