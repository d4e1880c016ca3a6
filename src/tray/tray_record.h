// The notification-area icon record, filled for Shell_NotifyIconW.
#pragma once

#include <windows.h>
// shellapi.h needs the types of windows.h
#include <shellapi.h>

#include <cstddef>  // offsetof
#include <string_view>

#ifndef NOTIFYICONDATAW_V2_SIZE
#define NOTIFYICONDATAW_V2_SIZE offsetof(NOTIFYICONDATAW, guidItem)
#endif

// The message the shell sends to the main window for events on its icon.
constexpr UINT WM_TRAYCALLBACK = WM_USER + 1;

// The record's second-version layout (ending with dwInfoFlags), which every shell since then
// accepts. The wide form carries the Chinese texts whatever the system's ANSI code page is.
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAW_V2_SIZE;
#ifdef _WIN64
static_assert(kTrayRecordSize == 952, "the 64-bit wide record ends with dwInfoFlags at 948");
#else
static_assert(kTrayRecordSize == 936, "the 32-bit wide record ends with dwInfoFlags at 932");
#endif

// Add or modify: message, icon, tip, state and balloon (flags 31). The tip also serves as the
// balloon title; an empty balloon text shows no balloon and removes one on display.
// Each text field holds the text, a NUL and blanks up to the field's end. A text too long for its
// field is cut, in UTF-16 units, so that the NUL still fits and no surrogate pair is split.
NOTIFYICONDATAW BuildTrayRecord(HWND window, HICON icon, std::wstring_view tip, std::wstring_view balloon,
                                DWORD balloonStyle, UINT timeoutMs);

// Delete (flags 7): a blank tip, no balloon.
NOTIFYICONDATAW BuildTrayDeleteRecord(HWND window, HICON icon);
