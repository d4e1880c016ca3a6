#include "mainwindow/skin_library.h"

#include <windows.h>

#include "formlayer/handles.h"
#include "formlayer/runtime.h"
#include "mainwindow/library_search.h"

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

std::string ToAnsi(const std::wstring& text) {
  int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string ansi(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), bytes, nullptr,
                        nullptr);
  return ansi;
}

}  // namespace

namespace SkinLibrary {

std::string SkinPath() { return ToAnsi(App::Path() + L"\\she.she"); }

int AttachEx(const std::string& skinPath, const std::string& password) {
  using AttachExFn = int(WINAPI*)(const char*, const char*);
  return Export<AttachExFn>("SkinH_AttachEx")(skinPath.c_str(), password.c_str());
}

int SetAero(int enable) {
  using SetAeroFn = int(WINAPI*)(int);
  return Export<SetAeroFn>("SkinH_SetAero")(enable);
}

}  // namespace SkinLibrary
