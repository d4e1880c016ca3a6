#include "win32/ansi_path.h"

namespace {

// The text in the code page, or nothing if a character is missing there or would come back as
// another one (a best-fit mapping such as "é" to "e" changes the path just as "?" does).
std::optional<std::string> ExactlyInCodePage(const std::wstring& text, UINT codePage) {
  if (text.empty()) return std::string();
  const int units = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(codePage, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::nullopt;
  std::string converted(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), units, converted.data(), bytes, nullptr, nullptr);
  std::wstring back(text.size(), L'\0');
  const int backUnits = ::MultiByteToWideChar(codePage, 0, converted.data(), bytes, back.data(), units);
  if (backUnits != units || back != text) return std::nullopt;
  return converted;
}

std::wstring ShortForm(const std::wstring& path) {
  const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortPath(needed, L'\0');
  const DWORD written = ::GetShortPathNameW(path.c_str(), shortPath.data(), needed);
  if (written == 0 || written >= needed) return {};
  shortPath.resize(written);
  return shortPath;
}

}  // namespace

std::optional<std::string> ExactAnsiPath(const std::wstring& folder, std::wstring_view tail, UINT codePage) {
  if (auto longForm = ExactlyInCodePage(folder + std::wstring(tail), codePage)) return longForm;
  const std::wstring shortFolder = ShortForm(folder);
  if (shortFolder.empty()) return std::nullopt;
  return ExactlyInCodePage(shortFolder + std::wstring(tail), codePage);
}
