#include "mainwindow/window_frame.h"

#include "mainwindow/frame_math.h"
#include "mainwindow/hover_tracking.h"
#include "settings/window_position.h"
#include "win32/display.h"

WindowFrame::WindowFrame(Form& window, Image& grip, CaptionButtons& buttons)
    : window_(window), buttons_(buttons), surface_(*this), grip_(grip) {
  window.SetPointerHandler(&surface_);
  grip.SetPointerHandler(&grip_);
}

void WindowFrame::ApplyRoundRegion(int cornerWidth, int cornerHeight) {
  const RECT place = window_.Place();
  // The region belongs to the system once set on the window.
  ::SetWindowRgn(window_.Window(),
                 ::CreateRoundRectRgn(0, 0, place.right - place.left, place.bottom - place.top, cornerWidth,
                                      cornerHeight),
                 TRUE);
}

void WindowFrame::ApplyRoundRegion() {
  const int corner = RegionCorner(2, Display::Dpi());
  ApplyRoundRegion(corner, corner);
}

void WindowFrame::DragMoveWindow() {
  static bool inMoveLoop = false;  // a move loop never starts another inside itself
  ::ReleaseCapture();
  // The caption-move request enters the system's move loop, which on some
  // platforms waits for a click when no button is held: ask only during a drag.
  if (!inMoveLoop && ::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0) {
    inMoveLoop = true;
    ::SendMessageW(window_.Window(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    inMoveLoop = false;
  }
  HoverTracking::UpdateHoverRect(window_.Window());
}

void WindowFrame::Surface::OnMove(MouseButton, POINT) {
  frame_.DragMoveWindow();
  frame_.buttons_.ShowNormal();
  if (!frame_.window_.Minimised()) SavedPosition::SaveWindowPos(frame_.window_);
}

void WindowFrame::Grip::OnMove(MouseButton held, POINT at) {
  if (held != MouseButton::Left) return;
  image_.MoveBy({at.x - grabbed_.x, at.y - grabbed_.y});
}
