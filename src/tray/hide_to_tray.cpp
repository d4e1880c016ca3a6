// The main window's way into the tray: the icon it shows from its start, and the close that hides
// it there.
#include "controls/runtime.h"
#include "mainwindow/main_window.h"
#include "tray/taskbar_menu.h"
#include "tray/tray_icon.h"

namespace {
constexpr DWORD kBalloonInfo = 1;  // NIIF_INFO
constexpr UINT kBalloonTimeoutMs = 5000;
}  // namespace

void MainWindow::PutInTray() {
  HWND window = hWnd();
  ResumeNext(
      [&] { TaskbarMenu::HookTaskbarMenu(window); },
      [&] { TrayIcon::RemindOnClose = true; },
      [&] { TrayIcon::SetTrayIcon(*this, TrayIcon::VersionTip(*this), L"", kBalloonInfo, kBalloonTimeoutMs); });
}

bool MainWindow::OnCloseRequest() {
  SetMinimised(true);
  Hide();
  if (TrayIcon::RemindOnClose)
    TrayIcon::SetTrayIcon(*this, L"主人我在这里", L"想起我来点一下我哦!", kBalloonInfo, kBalloonTimeoutMs);
  else
    TrayIcon::SetTrayIcon(*this, TrayIcon::VersionTip(*this), L"", kBalloonInfo, kBalloonTimeoutMs);
  return true;
}
