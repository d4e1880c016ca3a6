// The floor for startup and memory of a tray tool like ours: the work no such start can skip.
// A borderless window of Huevik's size, topmost, layered with a colour key; a tray icon added;
// the small library beside the program loaded; then the window shown.
// Built a second time with FLOOR_COMMON_CONTROLS and the program's manifest: the same, with the
// themed common controls loaded as our system controls need them (an information row).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#ifdef FLOOR_COMMON_CONTROLS
#define FLOOR_CLASS L"HuevikTrayControlsFloor"
#else
#define FLOOR_CLASS L"HuevikTrayFloor"
#endif

static LRESULT CALLBACK FloorProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, msg, wp, lp);
}

static void LoadLibraryBesideProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != L'\\') --length;
  if (length + ::lstrlenW(name) >= MAX_PATH) return;
  ::lstrcpyW(path + length, name);
  ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef FLOOR_COMMON_CONTROLS
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
#endif
  WNDCLASSW wc{};
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = FLOOR_CLASS;
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(WS_EX_APPWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED, FLOOR_CLASS, FLOOR_CLASS, WS_POPUP,
                                  0, 0, 300, 263, nullptr, nullptr, instance, nullptr);
  ::SetLayeredWindowAttributes(window, 0xFF0000, 0, LWA_COLORKEY);
  LoadLibraryBesideProgram(L"SkinH.dll");
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  ::lstrcpyW(icon.szTip, FLOOR_CLASS);
  ::Shell_NotifyIconW(NIM_ADD, &icon);
  ::ShowWindow(window, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  ::Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
