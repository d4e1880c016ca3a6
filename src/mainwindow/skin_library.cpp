#include "mainwindow/skin_library.h"

#include <windows.h>

#include "skinh.h"
#include "win32/ansi_path.h"
#include "win32/handles.h"
#include "win32/library_search.h"

namespace {

HMODULE Library() {
  static unique_module library(LibrarySearch::LoadBesideProgram(L"SkinH.dll"));
  return library.get();
}

// Null without the library or the export.
template <typename Function>
Function Export(const char* name) {
  HMODULE library = Library();
  auto address = library ? ::GetProcAddress(library, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

namespace SkinLibrary {

// A lossy path would name another file or none; without a path the window stays unskinned.
std::optional<std::string> SkinPath() {
  const std::wstring folder = LibrarySearch::ProgramFolder();
  if (folder.empty()) return std::nullopt;
  return ExactAnsiPath(folder, L"\\she.she");
}

std::optional<int> AttachEx(const std::string& skinPath, const std::string& password) {
  auto attach = Export<SkinH_AttachExFn>("SkinH_AttachEx");
  if (!attach) return std::nullopt;
  return attach(skinPath.c_str(), password.c_str());
}

std::optional<int> SetAero(int enable) {
  auto setAero = Export<SkinH_SetAeroFn>("SkinH_SetAero");
  if (!setAero) return std::nullopt;
  return setAero(enable);
}

}  // namespace SkinLibrary
