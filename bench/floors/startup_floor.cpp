// The floor for startup and memory: the least a Win32 program does to show one
// ordinary window (with a caption, so text drawing is set up as in any real program).
#include <windows.h>

static LRESULT CALLBACK FloorProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"HuevikFloor";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(0, L"HuevikFloor", L"HuevikFloor", WS_OVERLAPPEDWINDOW, 100, 100, 300, 263, nullptr, nullptr,
                                  instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
