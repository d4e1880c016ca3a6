// Where the program's libraries come from. A library asked for by its bare name is also looked
// for in the current folder and on PATH, where anyone may have put one of that name; these load
// only from the program's own folder and the system folder.
#pragma once
#include <windows.h>

#include <string>

namespace LibrarySearch {
// Takes the current folder and PATH out of the process's library search where the system
// allows it. Called first thing at start, before any library is loaded at run time.
void RestrictToProgramAndSystemFolders();
// The program's own folder: no trailing backslash, except at a drive root, whose path already
// ends in one; empty where the system cannot tell.
std::wstring ProgramFolder();
// A library beside the program, by its full path; nullptr when there is none.
HMODULE LoadBesideProgram(const wchar_t* fileName);
// A library of the system, from the system folder only.
HMODULE LoadSystemLibrary(const wchar_t* fileName);
}  // namespace LibrarySearch
