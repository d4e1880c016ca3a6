// What a program shows and keeps, read as any program could read it: the folder the
// programs live in, window texts, screen pixels and the stored settings.
#pragma once
#include <windows.h>

#include <string>

std::wstring TestProgramDir();  // where the test exe, Huevik.exe and SkinH.dll live
// A window's text by WM_GETTEXT, which reaches controls of other processes too.
std::wstring ReadWindowText(HWND window);
// Colour of the screen pixel, read from the desktop as another program would.
COLORREF ScreenPixel(int x, int y);
// Colour of a pixel of the window's client area, read through its own DC.
COLORREF WindowPixel(HWND window, int x, int y);

// The program's frozen screen, or null while it shows none.
HWND ShownFrozenScreen(DWORD process);

// The clipboard's Unicode text, "<none>" when it holds none; and text put there.
std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

// The program's stored settings, as the tests set them up before a start.
namespace stored {
std::wstring KeyPath();  // the section that holds the window position
void Clear();            // as on a first run
void Write(const wchar_t* key, const wchar_t* value);
std::wstring Read(const wchar_t* key);  // "<absent>" when there is none
}  // namespace stored
