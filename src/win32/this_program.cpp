#include "win32/this_program.h"

#include <vector>

namespace ThisProgram {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

std::optional<Version> FileVersion() {
  HRSRC info = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  HGLOBAL loaded = info ? ::LoadResource(nullptr, info) : nullptr;
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  // VerQueryValue wants a writable copy of the block.
  std::vector<char> copy(static_cast<const char*>(data),
                         static_cast<const char*>(data) + ::SizeofResource(nullptr, info));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (!::VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) || !fixed) return std::nullopt;
  return Version{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS)};
}

}  // namespace ThisProgram

std::wstring WindowText(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}
