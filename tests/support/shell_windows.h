// The shell's windows as a user meets them under Wine: the tray icons, the tips and balloons
// (tooltip windows of the process that shows the icons) and the pop-up menus.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/pointer.h"

// Visible top-level windows of a class, of one process (0: any).
std::vector<HWND> VisibleTopWindows(const wchar_t* cls, DWORD process = 0);
HWND VisibleTopWindow(const wchar_t* cls, DWORD process, const wchar_t* title = nullptr);
DWORD ProcessOf(HWND window);

// Wine's stand-alone tray, shown where no tray manager runs, and its icons: each a child window.
namespace wine_tray {
HWND Window();
std::vector<HWND> Icons();
}  // namespace wine_tray

// The text of a shown tip (or balloon) window of the shell's process: the text the shell holds.
std::wstring ShownTip(DWORD shellProcess, bool balloon);
// Rests the pointer on the icon (its centre on the screen) until its tip shows; the pointer then leaves. `moveTo` moves the
// pointer to a screen point: input made inside Wine by default.
std::wstring HoverTip(POINT icon, DWORD shellProcess, void (*moveTo)(int x, int y) = pointer::MoveTo);
// The balloon, once it shows (the shell shows it a while after it was asked for).
std::wstring BalloonWithin(DWORD shellProcess, DWORD ms);
// A real click on the icon with the given button flags.
void ClickIcon(HWND icon, DWORD down, DWORD up);

// A real key press and release.
void Key(WORD key);

class HuevikProcess;
// Chooses Exit in the open tray menu, its last item: the program must end at
// once with status 0 (a gtest failure otherwise).
void ChooseExitExpectingStatusZero(const HuevikProcess& huevik);
