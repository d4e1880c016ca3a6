#include "picking/frozen_screen.h"

#include <utility>


FrozenWindow::FrozenWindow(const ScreenCopy& copy, const RECT& monitor, Input input)
    : copy_(copy), monitor_(monitor), input_(std::move(input)) {
  // Where no window could be made, Window() stays null: the pick shows nothing.
  (void)CreateOwnWindow(L"HuevikFrozenScreen", L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, monitor, nullptr);
}

FrozenWindow::~FrozenWindow() { DetachThenDestroy(); }

LRESULT FrozenWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (input_ && input_(msg, wp, lp)) return 0;
  switch (msg) {
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
      return TRUE;
    case WM_ERASEBKGND:
      return 1;
    // The hotkey's own Alt, let go over this window, would start the keyboard's menu mode.
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return 0;
    default:
      return BaseWindow::OnMessage(msg, wp, lp);
  }
}

void FrozenWindow::OnPaint(HDC dc, const RECT&) {
  const POINT origin = copy_.Origin();
  ::BitBlt(dc, 0, 0, monitor_.right - monitor_.left, monitor_.bottom - monitor_.top, copy_.Dc(),
           monitor_.left - origin.x, monitor_.top - origin.y, SRCCOPY);
}
