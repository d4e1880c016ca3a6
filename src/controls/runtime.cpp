#include "controls/runtime.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "win32/display.h"
#include "win32/display_scale.h"
#include "win32/handles.h"
#include "win32/library_search.h"

void ReportHandlerFailure() noexcept { ::OutputDebugStringW(L"Huevik: an event handler failed\n"); }

namespace App {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

std::wstring Path() {
  std::wstring folder = LibrarySearch::ProgramFolder();
  if (folder.empty()) throw FormError("module path unavailable");
  return folder;
}

Version FileVersion() {
  HRSRC info = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  HGLOBAL loaded = info ? ::LoadResource(nullptr, info) : nullptr;
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) throw FormError("no version information");
  // VerQueryValue wants a writable copy of the block.
  std::vector<char> copy(static_cast<const char*>(data),
                         static_cast<const char*>(data) + ::SizeofResource(nullptr, info));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (!::VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) || !fixed)
    throw FormError("no fixed version information");
  return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS)};
}

}  // namespace App

namespace Screen {
float TwipsPerPixelX() { return TwipsPerPixelAt(Display::SystemDpi()); }
float TwipsPerPixelY() { return TwipsPerPixelAt(Display::SystemDpi()); }
float Width() { return static_cast<float>(::GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixelX(); }
float Height() { return static_cast<float>(::GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixelY(); }
}  // namespace Screen

int TwipsToPixelsX(float twips) { return TwipsToPixelsAt(twips, Display::Dpi()); }
int TwipsToPixelsY(float twips) { return TwipsToPixelsAt(twips, Display::Dpi()); }

std::wstring WindowText(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

int ShowMessageBox(const std::wstring& text, UINT style, const std::wstring& title) {
  return ::MessageBoxW(::GetActiveWindow(), text.c_str(), title.c_str(), style);
}

std::wstring SettingsKeyPath(const std::wstring& app, const std::wstring& section) {
  std::wstring path = L"Software\\VB and VBA Program Settings\\" + app;
  return section.empty() ? path : path + L"\\" + section;
}

namespace {
std::uint64_t g_settingsWrites = 0;
}

std::uint64_t SettingsWritesSoFar() { return g_settingsWrites; }

void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
  unique_hkey store;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, store.put(), nullptr) != ERROR_SUCCESS)
    throw FormError("settings store cannot be opened");
  auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  LONG result =
      ::RegSetValueExW(store.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  if (result != ERROR_SUCCESS) throw FormError("settings value cannot be written");
  ++g_settingsWrites;
}

namespace {

// A text value of an open key, or the empty text when it is absent or not text.
std::wstring ReadText(HKEY key, const wchar_t* name) {
  std::wstring value(64, L'\0');  // most values fit: one query
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    LONG result = ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes);
    if (result == ERROR_MORE_DATA) {
      value.resize(bytes / sizeof(wchar_t) + 1);
      continue;
    }
    if (result != ERROR_SUCCESS || type != REG_SZ) return {};
    value.resize(std::min<size_t>(bytes / sizeof(wchar_t), value.size()));
    value.resize(::wcsnlen(value.c_str(), value.size()));
    return value;
  }
  return {};
}

}  // namespace

// Absent values, and values of any type but text, read as the empty text.
std::vector<std::wstring> GetSettings(const std::wstring& app, const std::wstring& section,
                                      std::span<const wchar_t* const> keys) {
  std::vector<std::wstring> values(keys.size());
  unique_hkey store;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      store.put()) != ERROR_SUCCESS)
    return values;
  for (size_t i = 0; i < keys.size(); ++i) values[i] = ReadText(store.get(), keys[i]);
  return values;
}

std::wstring GetSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key) {
  const wchar_t* keys[] = {key.c_str()};
  return GetSettings(app, section, keys).front();
}
