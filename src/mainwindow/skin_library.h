// The skinning library, loaded at run time from the program's directory only.
// The program runs on without it: a missing library or export does nothing.
#pragma once
#include <optional>
#include <string>

namespace SkinLibrary {
// The program's directory with "\she.she" appended, as exact ANSI text (see ExactAnsiPath);
// none when no form of it can be spelled in the ANSI code page.
std::optional<std::string> SkinPath();
// The library's answer; none without the library or the export.
std::optional<int> AttachEx(const std::string& skinPath, const std::string& password);
std::optional<int> SetAero(int enable);
}  // namespace SkinLibrary
