#include "win32/library_search.h"

#include <string>

namespace LibrarySearch {

namespace {

// Older systems lack these calls: looked up at run time, so the program still starts there.
template <typename Function>
Function KernelFunction(const char* name) {
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  auto address = kernel ? ::GetProcAddress(kernel, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

std::wstring WithFile(std::wstring folder, const wchar_t* fileName) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + fileName;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

void RestrictToProgramAndSystemFolders() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryWFn = BOOL(WINAPI*)(const wchar_t*);
  if (auto restrict = KernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories"))
    restrict(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Where the call above is missing, this at least takes the current folder out.
  if (auto setDirectory = KernelFunction<SetDllDirectoryWFn>("SetDllDirectoryW")) setDirectory(L"");
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return path;
  bool driveRoot = slash == 2 && path[1] == L':';
  return path.substr(0, driveRoot ? slash + 1 : slash);
}

HMODULE LoadBesideProgram(const wchar_t* fileName) {
  std::wstring folder = ProgramFolder();
  return folder.empty() ? nullptr : ::LoadLibraryW(WithFile(folder, fileName).c_str());
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  if (HMODULE library = ::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return library;
  // Systems that do not know the search flag refuse the call: name the system folder instead.
  std::wstring folder = SystemFolder();
  return folder.empty() ? nullptr : ::LoadLibraryW(WithFile(folder, fileName).c_str());
}

}  // namespace LibrarySearch
