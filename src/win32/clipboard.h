// Text handed to other programs through the clipboard.
#pragma once
#include <windows.h>

#include <string_view>

// Puts the text on the clipboard as Unicode text, owned by `owner`. False where the clipboard
// stayed open by another program, or no memory was left: the clipboard then keeps what it had.
bool CopyTextToClipboard(HWND owner, std::wstring_view text);
