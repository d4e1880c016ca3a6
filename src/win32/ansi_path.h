// A file path for a library that takes only ANSI strings, without losing a character: a folder
// name that the ANSI code page cannot spell would otherwise reach the library as "?".
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// `folder` followed by `tail`, in `codePage`, only if it converts back to exactly the same text:
// the long form first, else the short (8.3) form of the folder, which the file system spells in
// ASCII. Nothing when neither form converts exactly (no short names on that volume, say).
std::optional<std::string> ExactAnsiPath(const std::wstring& folder, std::wstring_view tail, UINT codePage = CP_ACP);
