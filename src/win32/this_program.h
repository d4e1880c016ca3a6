// Facts about the running program: its module, its version, and the text of a window.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace ThisProgram {
HINSTANCE Instance();
struct Version {
  int major, minor, revision;
};
// Read from the module's own version information; none where it is missing.
std::optional<Version> FileVersion();
}  // namespace ThisProgram

// A window's text, whatever its length.
std::wstring WindowText(HWND window);
