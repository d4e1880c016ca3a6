#include "tray/tray_record.h"

#include <cstring>
#include <string>

namespace {

constexpr UINT kAddOrModifyFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;  // 31
constexpr UINT kDeleteFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;                              // 7

UINT ResolveCodePage(UINT codePage) {
  if (codePage == CP_ACP) return GetACP();
  if (codePage == CP_OEMCP) return GetOEMCP();
  return codePage;
}

std::string ToCodePage(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int wideLength = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(codePage, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(codePage, 0, text.data(), wideLength, converted.data(), bytes, nullptr, nullptr);
  return converted;
}

std::size_t CharacterBytes(unsigned char lead, UINT codePage) {
  if (codePage == CP_UTF8) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
  }
  return IsDBCSLeadByteEx(codePage, lead) ? 2 : 1;
}

// The longest run of whole characters at the start of `bytes` that takes at most `limit` bytes;
// the walk starts at the front because a trail byte may look like a lead byte.
std::size_t WholeCharacterPrefix(const std::string& bytes, std::size_t limit, UINT codePage) {
  std::size_t length = 0;
  while (length < bytes.size()) {
    const std::size_t next = length + CharacterBytes(static_cast<unsigned char>(bytes[length]), codePage);
    if (next > limit) break;
    length = next;
  }
  return length;
}

// The text, a NUL, then blanks to the field's end. The text is first cut at the field's count of
// characters (never between the halves of a surrogate pair), then at whole characters of the code
// page so that the NUL always fits.
template <std::size_t FieldBytes>
void FillTextField(char (&field)[FieldBytes], std::wstring_view text, UINT codePage) {
  if (text.size() > FieldBytes) {
    const bool splitsPair = IS_HIGH_SURROGATE(text[FieldBytes - 1]);
    text = text.substr(0, splitsPair ? FieldBytes - 1 : FieldBytes);
  }
  const UINT resolved = ResolveCodePage(codePage);
  const std::string bytes = ToCodePage(text, resolved);
  const std::size_t length = WholeCharacterPrefix(bytes, FieldBytes - 1, resolved);
  std::memset(field, ' ', FieldBytes);
  std::memcpy(field, bytes.data(), length);
  field[length] = '\0';
}

NOTIFYICONDATAA RecordHead(HWND window, HICON icon, UINT flags) {
  NOTIFYICONDATAA record{};
  record.cbSize = kTrayRecordSize;
  record.hWnd = window;
  record.uID = 0;
  record.uFlags = flags;
  record.uCallbackMessage = WM_TRAYCALLBACK;
  record.hIcon = icon;
  record.dwState = 0;
  record.dwStateMask = 0;
  return record;
}

}  // namespace

NOTIFYICONDATAA BuildTrayRecord(HWND window, HICON icon, std::wstring_view tip, std::wstring_view balloon,
                                DWORD balloonStyle, UINT timeoutMs, UINT codePage) {
  NOTIFYICONDATAA record = RecordHead(window, icon, kAddOrModifyFlags);
  FillTextField(record.szTip, tip, codePage);
  FillTextField(record.szInfo, balloon, codePage);
  record.uTimeout = timeoutMs;
  FillTextField(record.szInfoTitle, tip, codePage);
  record.dwInfoFlags = balloonStyle;
  return record;
}

NOTIFYICONDATAA BuildTrayDeleteRecord(HWND window, HICON icon, UINT codePage) {
  NOTIFYICONDATAA record = RecordHead(window, icon, kDeleteFlags);
  // A text of blanks only: the tip field is blanks with a closing NUL.
  FillTextField(record.szTip, std::wstring(sizeof record.szTip, L' '), codePage);
  // szInfo and szInfoTitle stay zero, as do uTimeout and dwInfoFlags.
  return record;
}
