#include "win32/clipboard.h"

#include <cstring>

namespace {
// Another program may hold the clipboard open for a moment: a few short waits, then give up.
constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenWaitMs = 10;
}  // namespace

bool CopyTextToClipboard(HWND owner, std::wstring_view text) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!memory) return false;
  void* bytes = ::GlobalLock(memory);
  if (!bytes) {
    ::GlobalFree(memory);
    return false;
  }
  std::memcpy(bytes, text.data(), text.size() * sizeof(wchar_t));
  static_cast<wchar_t*>(bytes)[text.size()] = L'\0';
  ::GlobalUnlock(memory);
  bool opened = false;
  for (int attempt = 0; attempt < kOpenAttempts && !(opened = ::OpenClipboard(owner) != FALSE); ++attempt)
    ::Sleep(kOpenWaitMs);
  // Once set, the memory is the system's.
  const bool set = opened && ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, memory);
  if (opened) ::CloseClipboard();
  if (!set) ::GlobalFree(memory);
  return set;
}
