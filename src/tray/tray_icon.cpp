#include "tray/tray_icon.h"

#include <utility>

#include "colour/colour_value.h"
#include "controls/runtime.h"
#include "mainwindow/main_window.h"
#include "tray/tray_menu_owner.h"
#include "tray/tray_record.h"
#include "win32/base_window.h"

namespace TrayIcon {

WNDPROC TrayPrevProc = nullptr;
bool RemindOnClose = false;

namespace {

constexpr UINT kBalloonUserClick = NIN_BALLOONUSERCLICK;
std::wstring g_currentTip;  // to add the icon again when the shell restarts

UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void OnTrayCallback(HWND window, LPARAM event) {
  MainWindow& form = RunningMainWindow();
  switch (event) {
    case WM_LBUTTONUP:
      form.BringBack();
      break;
    case WM_RBUTTONUP:
      ::SetForegroundWindow(window);
      form.PopupMenu(TheTrayMenuOwner().TrayMenu());
      break;
    case kBalloonUserClick:
      RemindOnClose = false;
      SetTrayIcon(form, VersionTip(form), L"", NIIF_INFO, 5000);
      break;
    default:
      break;
  }
}

// The first icon puts this procedure in front of the window's, once: a window that carries it
// already must not get it as its own successor. The W forms keep the window Unicode.
void HookTrayWndProc(HWND window) {
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == TrayWndProc) return;
  TrayPrevProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayWndProc)));
}

// Unhooked before the shell is asked, which waits on another process: whatever arrives meanwhile
// finds the hook and the icon already gone.
void DeleteIconAndUnhook(HWND window, HICON icon) {
  WNDPROC previous = std::exchange(TrayPrevProc, nullptr);
  if (!previous) return;
  ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  NOTIFYICONDATAW record = BuildTrayDeleteRecord(window, icon);
  ::Shell_NotifyIconW(NIM_DELETE, &record);
}

void AddAgain(const Form& window) {
  NOTIFYICONDATAW record = BuildTrayRecord(window.hWnd(), window.Icon(), g_currentTip, L"", NIIF_INFO, 5000);
  ::Shell_NotifyIconW(NIM_ADD, &record);
}

}  // namespace

std::wstring VersionTip(const Form& window) {
  App::Version v = App::FileVersion();
  return window.Caption() + L" Version" + DecimalText(v.major) + L"." + DecimalText(v.minor) + L"." +
         DecimalText(v.revision) + L" (Zentrik)";
}

void SetTrayIcon(const Form& window, std::wstring_view tipText, std::wstring_view balloonText, DWORD balloonStyle,
                 UINT timeoutMs) {
  NOTIFYICONDATAW record =
      BuildTrayRecord(window.hWnd(), window.Icon(), tipText, balloonText, balloonStyle, timeoutMs);
  g_currentTip = tipText;
  if (!TrayPrevProc) {
    ::Shell_NotifyIconW(NIM_ADD, &record);
    HookTrayWndProc(window.hWnd());
  } else {
    ::Shell_NotifyIconW(NIM_MODIFY, &record);
  }
}

void RemoveTrayIcon(const Form& window) { DeleteIconAndUnhook(window.hWnd(), window.Icon()); }

LRESULT CALLBACK TrayWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC next = TrayPrevProc;  // an Exit inside the menu may take this procedure out
  if (msg == WM_TRAYCALLBACK && wp == 0) {
    ResumeNext([&] { OnTrayCallback(window, lp); });
  } else if (msg == TaskbarCreatedMessage()) {
    // A restarted shell has forgotten the icon; it is the only way back to the window.
    ResumeNext([&] { AddAgain(RunningMainWindow()); }, [&] { RunningMainWindow().RegisterPickHotkey(); });
  } else if ((msg == WM_DESTROY && BaseWindow::SystemIsDestroying(window)) || (msg == WM_ENDSESSION && wp)) {
    // The window goes with its icon, and leaves no hook behind: a later window starts afresh. At
    // the end of the session, or when the system closes the program to update what it uses, the
    // program goes as Exit ends it, the icon first, so none is left behind where the shell stays.
    DeleteIconAndUnhook(window, reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0)));
    if (msg == WM_ENDSESSION) ::TerminateProcess(::GetCurrentProcess(), 0);
  }
  return next ? ::CallWindowProcW(next, window, msg, wp, lp) : ::DefWindowProcW(window, msg, wp, lp);
}

}  // namespace TrayIcon
