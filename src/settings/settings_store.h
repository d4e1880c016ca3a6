// The per-user settings store: text values by application, section and key, under the key
// the program's settings have always lived in.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// False where the store could not be opened or the value not written.
bool WriteSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value);
// An absent value, or one of any type but text, reads as the empty text.
std::wstring ReadSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key);
// Several values of one section, read as ReadSetting reads each, with the store opened once.
std::vector<std::wstring> ReadSettings(const std::wstring& app, const std::wstring& section,
                                       std::span<const wchar_t* const> keys);
// The key of an application's settings, or of one section of them.
std::wstring SettingsKeyPath(const std::wstring& app, const std::wstring& section = {});
// Values this process has written to the settings store so far (benchmarks count them).
std::uint64_t SettingsWritesSoFar();
