// The borderless window's frame: rounded region, dragging by the surface, and the
// hidden image that follows a left-button drag.
#include <cmath>

#include "controls/runtime.h"
#include "mainwindow/main_window.h"
#include "mainwindow/frame_math.h"
#include "settings/window_position.h"
#include "win32/display.h"

void MainWindow::ApplyRoundRegion(int cornerWidth, int cornerHeight) {
  SIZE box = RegionSize(Width(), Height(), Display::Dpi());
  // The region belongs to the system once set on the window.
  ::SetWindowRgn(hWnd(), ::CreateRoundRectRgn(0, 0, box.cx, box.cy, cornerWidth, cornerHeight), TRUE);
}

// Laid out again at another resolution: a region and a hover rectangle of the new size.
void MainWindow::OnRescaled() {
  OnActivate();
  UpdateHoverRect();
}

void MainWindow::DragMoveWindow() {
  static bool inMoveLoop = false;  // a move loop never starts another inside itself
  ::ReleaseCapture();
  // The caption-move request enters the system's move loop, which on some
  // platforms waits for a click when no button is held: ask only during a drag.
  if (!inMoveLoop && ::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0) {
    inMoveLoop = true;
    ::SendMessageW(hWnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    inMoveLoop = false;
  }
  UpdateHoverRect();
}

void MainWindow::OnSurfaceMove(short, short, float, float) {
  DragMoveWindow();
  ShowNormalCaptionButtons();
  if (!Minimised()) SavedPosition::SaveWindowPos(*this);
}

void MainWindow::OnGripPress(short, short, float x, float y) {
  GripGrabX = x;
  GripGrabY = y;
}

void MainWindow::OnGripMove(short button, short, float x, float y) {
  if (button != kLeftButton) return;
  Grip.SetLeft(Grip.Left() + x - GripGrabX);
  Grip.SetTop(Grip.Top() + y - GripGrabY);
}
