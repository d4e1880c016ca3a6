// Tells whether a section of the settings store may have changed since a moment: the registry
// signals every change to the section's values, and its removal, to a waiting event.
#pragma once
#include <string>

#include "win32/handles.h"

class SettingsWatch {
 public:
  SettingsWatch(std::wstring app, std::wstring section);
  // From now on, Changed() turns true at the first change to the section.
  void Restart();
  // True also when the section could not be watched: then nothing is known.
  bool Changed() const;

 private:
  std::wstring app_, section_;
  unique_kernel_handle event_;
  unique_hkey key_;
};
