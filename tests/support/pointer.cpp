#include "support/pointer.h"

namespace pointer {

namespace {
void Send(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}
}  // namespace

void SendMoveTo(int x, int y) {
  // Absolute coordinates span the virtual desktop in 0..65535. Rounded up, because
  // the window system scales them back by truncating: so the pointer lands on (x, y)
  // exactly, not one pixel short.
  int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  LONG dx = static_cast<LONG>(((x - left) * 65536LL + width - 1) / width);
  LONG dy = static_cast<LONG>(((y - top) * 65536LL + height - 1) / height);
  // A low-level mouse hook of this thread lets an injected move pass inside SendInput; Wine then
  // moves its own pointer but leaves the display's where it was, and reads the pointer back from
  // the display a moment later. The display's pointer is put there first; elsewhere the move
  // that follows reaches the same pixel as usual.
  ::SetCursorPos(x, y);
  Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, dx, dy);
}

void SendMoveBy(int dx, int dy) { Send(MOUSEEVENTF_MOVE, dx, dy); }

void SendButton(DWORD flag) { Send(flag); }

void MoveTo(int x, int y) {
  SendMoveTo(x, y);
  Pump(20);
}

void Press(DWORD downFlag) {
  Send(downFlag);
  Pump(20);
}

void Release(DWORD upFlag) {
  Send(upFlag);
  Pump(20);
}

void ClickAt(int x, int y) {
  MoveTo(x, y);
  Press();
  Release();
}

POINT CentreOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace pointer

void SendKey(WORD key, WORD modifier) {
  INPUT input[4] = {};
  for (INPUT& i : input) i.type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[3].ki.wVk = modifier;
  input[1].ki.wVk = input[2].ki.wVk = key;
  input[2].ki.dwFlags = input[3].ki.dwFlags = KEYEVENTF_KEYUP;
  if (modifier) ::SendInput(4, input, sizeof input[0]);
  else ::SendInput(2, input + 1, sizeof input[0]);
}

void Pump(DWORD milliseconds) {
  DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (milliseconds) ::Sleep(1);
  } while (::GetTickCount() - start < milliseconds);
}
