// SkinH.dll: checks that a skin file is one of ours and remembers the caller's
// wishes. Drawing is left to the program; the library paints nothing.
#include "skinh.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kMagicLine = "HUEVIK-SKIN 1";
// Skins are a handful of lines; anything this big is not one of ours.
constexpr LONGLONG kLargestSkinBytes = 64 * 1024;
constexpr std::array<std::string_view, 3> kColourKeys = {"border", "panel", "title"};

std::optional<std::string> ReadSmallFile(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> text;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart <= kLargestSkinBytes) {
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
        read == bytes.size())
      text = std::move(bytes);
  }
  CloseHandle(file);
  return text;
}

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Cuts the next line off the front of text; a trailing '\r' is dropped.
std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool IsChannel(std::string_view digits) {
  if (digits.empty() || digits.size() > 3) return false;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 255;
}

// "R,G,B", three decimal channels 0..255.
bool IsColour(std::string_view value) {
  for (int channel = 0; channel < 3; ++channel) {
    const size_t comma = value.find(',');
    const bool last = channel == 2;
    if (last != (comma == std::string_view::npos)) return false;
    if (!IsChannel(Trim(value.substr(0, comma)))) return false;
    value = last ? std::string_view{} : value.substr(comma + 1);
  }
  return true;
}

bool IsColourKey(std::string_view key) {
  for (std::string_view colourKey : kColourKeys)
    if (key == colourKey) return true;
  return false;
}

// Blank lines and '#' comments are skipped; unknown keys are allowed so that
// newer skins still attach.
bool IsValidEntry(std::string_view line) {
  const std::string_view content = Trim(line);
  if (content.empty() || content.front() == '#') return true;
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = Trim(content.substr(0, equals));
  if (key.empty()) return false;
  return !IsColourKey(key) || IsColour(Trim(content.substr(equals + 1)));
}

SkinStatus CheckSkinText(std::string_view text) {
  if (NextLine(text) != kMagicLine) return SkinStatus::bad_header;
  while (!text.empty())
    if (!IsValidEntry(NextLine(text))) return SkinStatus::bad_entry;
  return SkinStatus::attached;
}

}  // namespace

// Our skins are plain text, so the password that encrypted skins would need is ignored.
extern "C" int __stdcall SkinH_AttachEx(const char* skinPath, const char* /*password*/) {
  if (skinPath == nullptr || *skinPath == '\0') return static_cast<int>(SkinStatus::no_path);
  const std::optional<std::string> text = ReadSmallFile(skinPath);
  if (!text) return static_cast<int>(SkinStatus::cannot_read);
  return static_cast<int>(CheckSkinText(*text));
}

// The stand-in draws no glass, so there is nothing to switch.
extern "C" int __stdcall SkinH_SetAero(int /*enable*/) { return 0; }
