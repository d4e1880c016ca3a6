// Real pointer input for tests: SendInput, as a user's mouse would give it.
#pragma once
#include <windows.h>

namespace pointer {
void MoveTo(int x, int y);  // screen pixels
void Press(DWORD downFlag = MOUSEEVENTF_LEFTDOWN);
void Release(DWORD upFlag = MOUSEEVENTF_LEFTUP);
void ClickAt(int x, int y);
POINT CentreOf(HWND window);  // screen pixels
}  // namespace pointer

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
