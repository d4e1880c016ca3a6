// The floor for idle cost: a small window and a thread timer asked for 1 ms whose callback does
// nothing, kept alive by an ordinary message loop.
#include <windows.h>

static void CALLBACK EmptyTick(HWND, UINT, UINT_PTR, DWORD) {}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"HuevikIdleFloor";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"HuevikIdleFloor", L"HuevikIdleFloor", WS_POPUP, 0, 760, 40, 40,
                                  nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  ::SetTimer(nullptr, 0, 1, EmptyTick);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
