// The two ways the program loads a library at run time: beside itself, by full path, and from
// the system folder only.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/library_search.h"

namespace {

std::wstring FileOf(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring Lower(std::wstring text) {
  ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

TEST(LibrarySearchTest, EachLibraryComesFromItsOneFolder) {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring programFolder = Folder(FileOf(nullptr));

  HMODULE dialogs = LibrarySearch::LoadSystemLibrary(L"comdlg32.dll");
  ASSERT_NE(dialogs, nullptr);
  EXPECT_EQ(Lower(Folder(FileOf(dialogs))), Lower(system));

  HMODULE skin = LibrarySearch::LoadBesideProgram(L"SkinH.dll");
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(Lower(FileOf(skin)), Lower(programFolder + L"\\SkinH.dll"));
  ::FreeLibrary(skin);
  ::FreeLibrary(dialogs);
}

}  // namespace
