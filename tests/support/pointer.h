// Real pointer and key input for tests: SendInput, as a user's mouse and keyboard would give it.
#pragma once
#include <windows.h>

namespace pointer {
// Hand the input over and return at once, for callers that run their own message loop.
void SendMoveTo(int x, int y);  // lands on exactly this screen pixel
void SendMoveBy(int dx, int dy);
void SendButton(DWORD flag);  // MOUSEEVENTF_LEFTDOWN ...
// The same, then a short run of this thread's message loop so the input arrives.
void MoveTo(int x, int y);  // screen pixels
void Press(DWORD downFlag = MOUSEEVENTF_LEFTDOWN);
void Release(DWORD upFlag = MOUSEEVENTF_LEFTUP);
void ClickAt(int x, int y);
POINT CentreOf(HWND window);  // screen pixels
}  // namespace pointer

// A key pressed and let go, with a modifier (VK_CONTROL ...) held around it where one is given.
void SendKey(WORD key, WORD modifier = 0);

// Runs the message loop of this thread for a while, so input and paint arrive.
void Pump(DWORD milliseconds = 0);
// Pumps until the condition holds or the time runs out; true if it held.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 3000) {
  DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    Pump(10);
  }
  return true;
}
