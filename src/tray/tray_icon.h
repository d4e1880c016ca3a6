// The notification-area icon: its tooltip, the reminder balloon, and the window
// procedure in front of the main window that answers the icon's callbacks.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "controls/form.h"

namespace TrayIcon {
// What the icon's owner does for the events on its icon.
class Owner {
 public:
  virtual void OnTrayLeftClick() = 0;
  // `frontBefore` was in front when the click came, before the menu's owner took the front.
  virtual void OnTrayRightClick(HWND frontBefore) = 0;
  // The shell restarted and the icon was added again.
  virtual void OnTaskbarRestarted() = 0;

 protected:
  ~Owner() = default;
};
void SetOwner(Owner* owner);

// The procedure the tray procedure replaced; non-zero exactly while the icon exists.
extern WNDPROC TrayPrevProc;
// True while a close shows the reminder balloon: until the user clicks one.
extern bool RemindOnClose;

// Adds the icon on the first call (and installs TrayWndProc), modifies it after.
void SetTrayIcon(const Form& window, std::wstring_view tipText, std::wstring_view balloonText, DWORD balloonStyle,
                 UINT timeoutMs);
// Deletes the icon and takes TrayWndProc out; nothing when there is no icon.
void RemoveTrayIcon(const Form& window);
// The same for the icon added last, whatever window it belongs to: at a fault.
void RemoveTrayIconAtFault() noexcept;
// The main window's way into the tray at its start: the taskbar menu's hook, the reminder for the
// first close, and the icon with the version tip.
void PutInTray(const Form& window);
// A close hides the window to the tray, with the reminder balloon until the user clicked one.
void HideToTray(Form& window);
LRESULT CALLBACK TrayWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
// The window's caption, " Version", major.minor.revision and the studio's name.
std::wstring VersionTip(const Form& window);
}  // namespace TrayIcon
