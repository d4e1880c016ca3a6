#include "settings/settings_store.h"

#include <windows.h>

#include <algorithm>

#include "win32/handles.h"

std::wstring SettingsKeyPath(const std::wstring& app, const std::wstring& section) {
  std::wstring path = L"Software\\VB and VBA Program Settings\\" + app;
  return section.empty() ? path : path + L"\\" + section;
}

namespace {
std::uint64_t g_settingsWrites = 0;
}

std::uint64_t SettingsWritesSoFar() { return g_settingsWrites; }

bool WriteSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value) {
  unique_hkey store;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, store.put(), nullptr) != ERROR_SUCCESS)
    return false;
  auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  LONG result =
      ::RegSetValueExW(store.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  if (result != ERROR_SUCCESS) return false;
  ++g_settingsWrites;
  return true;
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

std::vector<std::wstring> ReadSettings(const std::wstring& app, const std::wstring& section,
                                       std::span<const wchar_t* const> keys) {
  std::vector<std::wstring> values(keys.size());
  unique_hkey store;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      store.put()) != ERROR_SUCCESS)
    return values;
  for (size_t i = 0; i < keys.size(); ++i) values[i] = ReadText(store.get(), keys[i]);
  return values;
}

std::wstring ReadSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key) {
  const wchar_t* keys[] = {key.c_str()};
  return ReadSettings(app, section, keys).front();
}
