// The notification-area icon: its tooltip, the reminder balloon, and the window
// procedure in front of the main window that answers the icon's callbacks.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "controls/form.h"

namespace TrayIcon {
// The procedure the tray procedure replaced; non-zero exactly while the icon exists.
extern WNDPROC TrayPrevProc;
// True while a close shows the reminder balloon: until the user clicks one.
extern bool RemindOnClose;

// Adds the icon on the first call (and installs TrayWndProc), modifies it after.
void SetTrayIcon(const Form& window, std::wstring_view tipText, std::wstring_view balloonText, DWORD balloonStyle,
                 UINT timeoutMs);
// Deletes the icon and takes TrayWndProc out; nothing when there is no icon.
void RemoveTrayIcon(const Form& window);
LRESULT CALLBACK TrayWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
// The window's caption, " Version", major.minor.revision and the studio's name.
std::wstring VersionTip(const Form& window);
}  // namespace TrayIcon
