#include "mainwindow/skin_library.h"

#include <windows.h>

#include "controls/runtime.h"
#include "skinh.h"
#include "win32/ansi_path.h"
#include "win32/handles.h"
#include "win32/library_search.h"

namespace {

HMODULE Library() {
  static unique_module library(LibrarySearch::LoadBesideProgram(L"SkinH.dll"));
  if (!library) throw FormError("SkinH.dll not found");
  return library.get();
}

template <typename Function>
Function Export(const char* name) {
  auto address = ::GetProcAddress(Library(), name);
  if (!address) throw FormError("SkinH.dll lacks an export");
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

namespace SkinLibrary {

std::string SkinPath() {
  std::optional<std::string> path = ExactAnsiPath(App::Path(), L"\\she.she");
  // A lossy path would name another file or none; skipping the step leaves the window unskinned.
  if (!path) throw FormError("the skin path cannot be spelled in the ANSI code page");
  return *path;
}

int AttachEx(const std::string& skinPath, const std::string& password) {
  return Export<SkinH_AttachExFn>("SkinH_AttachEx")(skinPath.c_str(), password.c_str());
}

int SetAero(int enable) {
  return Export<SkinH_SetAeroFn>("SkinH_SetAero")(enable);
}

}  // namespace SkinLibrary
