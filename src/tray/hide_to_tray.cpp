// The main window's way into the tray: the icon it shows from its start, and the close that hides
// it there.
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "tray/taskbar_menu.h"
#include "tray/tray_icon.h"

namespace {
constexpr DWORD kBalloonInfo = 1;  // NIIF_INFO
constexpr UINT kBalloonTimeoutMs = 5000;
}  // namespace

void Form1::PutInTray() {
  HWND window = hWnd();
  ResumeNext(
      [&] { 响应任务栏菜单::HookTaskbarMenu(window); },
      [&] { 托盘图标::BalloonFlag = 1; },
      [&] { 托盘图标::SetTrayIcon(*this, 托盘图标::VersionTip(*this), L"", kBalloonInfo, kBalloonTimeoutMs); });
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
