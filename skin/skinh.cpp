// SkinH.dll: checks that a skin file is one of ours and remembers the caller's
// wishes. Drawing is left to the program; the library paints nothing.
#include "skinh.h"

#include <windows.h>

#include <array>
#include <string_view>

namespace {

constexpr std::string_view kMagicLine = "HUEVIK-SKIN 1";
// Skins are a handful of lines; anything this big is not one of ours.
constexpr LONGLONG kLargestSkinBytes = 64 * 1024;
constexpr std::array<std::string_view, 3> kColourKeys = {"border", "panel", "title"};

// A whole small file in the process heap. The library links no C++ runtime, so no std::string.
class SmallFile {
 public:
  explicit SmallFile(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart <= kLargestSkinBytes) {
      const auto wanted = static_cast<DWORD>(size.QuadPart);
      bytes_ = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, wanted + 1));
      DWORD read = 0;
      read_ = bytes_ && ReadFile(file, bytes_, wanted, &read, nullptr) && read == wanted;
      size_ = read;
    }
    CloseHandle(file);
  }
  ~SmallFile() {
    if (bytes_) HeapFree(GetProcessHeap(), 0, bytes_);
  }
  SmallFile(const SmallFile&) = delete;
  SmallFile& operator=(const SmallFile&) = delete;

  bool Read() const { return read_; }
  std::string_view Text() const { return {bytes_, size_}; }

 private:
  char* bytes_ = nullptr;
  DWORD size_ = 0;
  bool read_ = false;
};

// substr without its range check: the check's error would bring the C++ runtime in.
std::string_view Part(std::string_view text, size_t from, size_t count = std::string_view::npos) {
  from = from < text.size() ? from : text.size();
  const size_t rest = text.size() - from;
  return {text.data() + from, count < rest ? count : rest};
}

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return Part(text, first, text.find_last_not_of(kBlanks) - first + 1);
}

// Cuts the next line off the front of text; a trailing '\r' is dropped.
std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find('\n');
  std::string_view line = Part(text, 0, end);
  text = end == std::string_view::npos ? std::string_view{} : Part(text, end + 1);
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
    if (!IsChannel(Trim(Part(value, 0, comma)))) return false;
    value = last ? std::string_view{} : Part(value, comma + 1);
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
  const std::string_view key = Trim(Part(content, 0, equals));
  if (key.empty()) return false;
  return !IsColourKey(key) || IsColour(Trim(Part(content, equals + 1)));
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
  const SmallFile file(skinPath);
  if (!file.Read()) return static_cast<int>(SkinStatus::cannot_read);
  return static_cast<int>(CheckSkinText(file.Text()));
}

// The stand-in draws no glass, so there is nothing to switch.
extern "C" int __stdcall SkinH_SetAero(int /*enable*/) { return 0; }
