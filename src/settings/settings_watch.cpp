#include "settings/settings_watch.h"

#include <utility>

#include "settings/settings_store.h"

SettingsWatch::SettingsWatch(std::wstring app, std::wstring section)
    : app_(std::move(app)), section_(std::move(section)), event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void SettingsWatch::Restart() {
  // A section removed and made again is another key: open it afresh each time.
  key_.reset();
  if (!event_) return;
  ::ResetEvent(event_.get());
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app_, section_).c_str(), 0, KEY_NOTIFY | KEY_QUERY_VALUE,
                      key_.put()) != ERROR_SUCCESS)
    return;
  constexpr DWORD kChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
  if (::RegNotifyChangeKeyValue(key_.get(), FALSE, kChanges, event_.get(), TRUE) != ERROR_SUCCESS) key_.reset();
}

bool SettingsWatch::Changed() const {
  if (!key_ || ::WaitForSingleObject(event_.get(), 0) != WAIT_TIMEOUT) return true;
  // Some registries signal nothing when the watched key itself is deleted: ask the key.
  return ::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr) != ERROR_SUCCESS;
}
