#include "support/main_window_fixture.h"

#include "mainwindow/hover_tracking.h"
#include "tray/tray_icon.h"

void ClearStoredSettings() {
  stored::Clear();
}

RECT ScreenRectOf(const Control& control) {
  RECT r = control.PixelRect();
  ::MapWindowPoints(control.Parent().Window(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

POINT ScreenCentreOf(const Control& control) {
  RECT r = ScreenRectOf(control);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void StopMainWindowServices(MainWindow& form) {
  TrayIcon::RemoveTrayIcon(form);
  if (HoverTracking::HoverTimerId) ::KillTimer(nullptr, HoverTracking::HoverTimerId);
  HoverTracking::HoverTimerId = 0;
}

void MainWindowTest::SetUp() {
  ClearStoredSettings();
  // Away from where the window will stand, so no stray pointer move reaches it.
  pointer::MoveTo(::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5);
  form_ = std::make_unique<MainWindow>();
  form_->Show();
  ::SetForegroundWindow(form_->hWnd());
  Pump(50);
}

void MainWindowTest::TearDown() {
  if (!form_) return;
  StopMainWindowServices(*form_);
  form_.reset();
  Pump();
}
