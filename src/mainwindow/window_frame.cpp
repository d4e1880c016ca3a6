// The borderless window's frame: rounded region, dragging by the surface, and the
// hidden image that follows a left-button drag.
#include <cmath>

#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame_math.h"
#include "settings/window_position.h"
#include "win32/display.h"

void Form1::ApplyRoundRegion(int cornerWidth, int cornerHeight) {
  SIZE box = RegionSize(Width(), Height(), Display::Dpi());
  // The region belongs to the system once set on the window.
  ::SetWindowRgn(hWnd(), ::CreateRoundRectRgn(0, 0, box.cx, box.cy, cornerWidth, cornerHeight), TRUE);
}

// Laid out again at another resolution: a region and a hover rectangle of the new size.
void Form1::Form_Rescaled() {
  Form_Activate();
  获取鼠标坐标();
}

void Form1::DragMoveWindow() {
  static bool inMoveLoop = false;  // a move loop never starts another inside itself
  ::ReleaseCapture();
  // The caption-move request enters the system's move loop, which on some
  // platforms waits for a click when no button is held: ask only during a drag.
  if (!inMoveLoop && ::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0) {
    inMoveLoop = true;
    ::SendMessageW(hWnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    inMoveLoop = false;
  }
  获取鼠标坐标();
}

void Form1::Form_MouseMove(short, short, float, float) {
  DragMoveWindow();
  PicEn();
  if (WindowState() != 1) 记录窗体位置::SaveWindowPos(*this);
}

void Form1::Image1_MouseDown(short, short, float x, float y) {
  Image1GrabX = x;
  Image1GrabY = y;
}

void Form1::Image1_MouseMove(short button, short, float x, float y) {
  if (button != kLeftButton) return;
  Image1.SetLeft(Image1.Left() + x - Image1GrabX);
  Image1.SetTop(Image1.Top() + y - Image1GrabY);
}
