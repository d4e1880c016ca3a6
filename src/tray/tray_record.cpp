#include "tray/tray_record.h"

#include <algorithm>
#include <string>

namespace {

constexpr UINT kAddOrModifyFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;  // 31
constexpr UINT kDeleteFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;                              // 7

// The text, a NUL, then blanks to the field's end. A cut keeps the NUL's place and leaves no
// half of a surrogate pair behind, which the shell would draw as a broken character.
template <std::size_t FieldUnits>
void FillTextField(wchar_t (&field)[FieldUnits], std::wstring_view text) {
  std::size_t length = std::min(text.size(), FieldUnits - 1);
  if (length < text.size() && length > 0 && IS_HIGH_SURROGATE(text[length - 1])) --length;
  std::fill(std::begin(field), std::end(field), L' ');
  text.copy(field, length);
  field[length] = L'\0';
}

NOTIFYICONDATAW RecordHead(HWND window, HICON icon, UINT flags) {
  NOTIFYICONDATAW record{};
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

NOTIFYICONDATAW BuildTrayRecord(HWND window, HICON icon, std::wstring_view tip, std::wstring_view balloon,
                                DWORD balloonStyle, UINT timeoutMs) {
  NOTIFYICONDATAW record = RecordHead(window, icon, kAddOrModifyFlags);
  FillTextField(record.szTip, tip);
  FillTextField(record.szInfo, balloon);
  record.uTimeout = timeoutMs;
  FillTextField(record.szInfoTitle, tip);
  record.dwInfoFlags = balloonStyle;
  return record;
}

NOTIFYICONDATAW BuildTrayDeleteRecord(HWND window, HICON icon) {
  NOTIFYICONDATAW record = RecordHead(window, icon, kDeleteFlags);
  // A text of blanks only: the tip field is blanks with a closing NUL.
  FillTextField(record.szTip, std::wstring(std::size(record.szTip), L' '));
  // szInfo and szInfoTitle stay zero, as do uTimeout and dwInfoFlags.
  return record;
}
