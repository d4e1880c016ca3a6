// The skinning library, loaded at run time from the program's directory only.
// The program runs on without it: a missing library or export is an error the
// caller's startup step absorbs.
#pragma once
#include <string>

namespace SkinLibrary {
// The program's directory with "\she.she" appended, as exact ANSI text (see ExactAnsiPath);
// an error when no form of it can be spelled in the ANSI code page.
std::string SkinPath();
int AttachEx(const std::string& skinPath, const std::string& password);
int SetAero(int enable);
}  // namespace SkinLibrary
