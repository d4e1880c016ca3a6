// The floor for idle cost: a small window and nothing else, waiting in an ordinary message loop.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"HuevikIdleFloor";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"HuevikIdleFloor", L"HuevikIdleFloor", WS_POPUP, 0, 760, 40, 40,
                                  nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
