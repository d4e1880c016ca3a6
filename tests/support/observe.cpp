#include "support/observe.h"

#include "settings/settings_store.h"
#include "win32/library_search.h"
#include "settings/window_position.h"
#include "win32/handles.h"

std::wstring TestProgramDir() { return LibrarySearch::ProgramFolder(); }

std::wstring ReadWindowText(HWND window) {
  wchar_t buffer[1024] = {};
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
  return buffer;
}

COLORREF ScreenPixel(int x, int y) { return WindowPixel(nullptr, x, y); }

COLORREF WindowPixel(HWND window, int x, int y) { return ::GetPixel(GetWindowDc(window).get(), x, y); }

HWND ShownFrozenScreen(DWORD process) {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, L"HuevikFrozenScreen", nullptr); w;
       w = ::FindWindowExW(nullptr, w, L"HuevikFrozenScreen", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == process && ::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

std::wstring ClipboardText() {
  std::wstring text = L"<none>";
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

namespace stored {

std::wstring KeyPath() { return SettingsKeyPath(SavedPosition::kApplication, SavedPosition::kSection); }

void Clear() { ::RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKeyPath(SavedPosition::kApplication).c_str()); }

void Write(const wchar_t* key, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, KeyPath().c_str(), key, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

std::wstring Read(const wchar_t* key) {
  wchar_t buffer[4096] = {};
  DWORD bytes = sizeof buffer;
  if (::RegGetValueW(HKEY_CURRENT_USER, KeyPath().c_str(), key, RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
      ERROR_SUCCESS)
    return L"<absent>";
  return buffer;
}

}  // namespace stored
