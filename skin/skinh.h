// The interface of SkinH.dll as a program that loads it by name sees it:
// two undecorated stdcall exports taking ANSI strings.
#pragma once

// AttachEx's result. The values are part of the library's contract.
enum class SkinStatus : int {
  attached = 0,
  no_path = 1,      // the path is null or empty
  cannot_read = 2,  // missing, unreadable, not a file, or too large to be a skin
  bad_header = 3,   // the first line is not the format's magic line
  bad_entry = 4,    // a line is not key=value, or a colour value does not parse
};

extern "C" {
int __stdcall SkinH_AttachEx(const char* skinPath, const char* password);
int __stdcall SkinH_SetAero(int enable);
}

using SkinH_AttachExFn = int(__stdcall*)(const char* skinPath, const char* password);
using SkinH_SetAeroFn = int(__stdcall*)(int enable);
