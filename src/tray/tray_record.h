// The notification-area icon record, filled for Shell_NotifyIconA.
#pragma once

#include <windows.h>
// shellapi.h needs the types of windows.h
#include <shellapi.h>

#include <cstddef>  // offsetof
#include <string_view>

#ifndef NOTIFYICONDATAA_V2_SIZE
#define NOTIFYICONDATAA_V2_SIZE offsetof(NOTIFYICONDATAA, guidItem)
#endif

// The message the shell sends to the main window for events on its icon.
constexpr UINT WM_TRAYCALLBACK = WM_USER + 1;

// The record's second-version layout (ending with dwInfoFlags): the size the program has always
// announced, which every shell since then accepts.
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V2_SIZE;
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the 32-bit record ends with dwInfoFlags at 484");
#endif

// Add or modify: message, icon, tip, state and balloon (flags 31). The tip also serves as the
// balloon title; an empty balloon text shows no balloon and removes one on display.
// Each text field holds the text, a NUL and blanks up to the field's end, in the ANSI code page
// `codePage`. A text too long for its field is cut so that a NUL still fits and no double-byte
// character is split: a field holds at most its size minus one byte of text.
NOTIFYICONDATAA BuildTrayRecord(HWND window, HICON icon, std::wstring_view tip, std::wstring_view balloon,
                                DWORD balloonStyle, UINT timeoutMs, UINT codePage = CP_ACP);

// Delete (flags 7): a blank tip, no balloon.
NOTIFYICONDATAA BuildTrayDeleteRecord(HWND window, HICON icon, UINT codePage = CP_ACP);
