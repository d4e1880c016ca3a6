#include "tray/tray_icon.h"

#include <utility>

#include "colour/colour_value.h"
#include "tray/taskbar_menu.h"
#include "win32/fail_fast.h"
#include "win32/this_program.h"
#include "tray/tray_record.h"
#include "win32/base_window.h"

namespace TrayIcon {

WNDPROC TrayPrevProc = nullptr;
bool RemindOnClose = false;

namespace {

constexpr UINT kBalloonUserClick = NIN_BALLOONUSERCLICK;
constexpr DWORD kBalloonInfo = NIIF_INFO;
constexpr UINT kBalloonTimeoutMs = 5000;
std::wstring g_currentTip;  // to add the icon again when the shell restarts
HWND g_window = nullptr;    // the window of the icon added last, and its icon
HICON g_icon = nullptr;
Owner* g_owner = nullptr;

UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

std::wstring VersionTipOf(HWND window);

void ModifyTip(HWND window, const std::wstring& tip) {
  NOTIFYICONDATAW record = BuildTrayRecord(window, g_icon, tip, L"", kBalloonInfo, kBalloonTimeoutMs);
  g_currentTip = tip;
  ::Shell_NotifyIconW(NIM_MODIFY, &record);
}

void OnTrayCallback(HWND window, LPARAM event) {
  switch (event) {
    case WM_LBUTTONUP:
      if (g_owner) g_owner->OnTrayLeftClick();
      break;
    case WM_RBUTTONUP: {
      HWND frontBefore = ::GetForegroundWindow();
      ::SetForegroundWindow(window);
      if (g_owner) g_owner->OnTrayRightClick(frontBefore);
      break;
    }
    case kBalloonUserClick:
      RemindOnClose = false;
      ModifyTip(window, VersionTipOf(window));
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

void AddAgain() {
  NOTIFYICONDATAW record = BuildTrayRecord(g_window, g_icon, g_currentTip, L"", kBalloonInfo, kBalloonTimeoutMs);
  ::Shell_NotifyIconW(NIM_ADD, &record);
}

}  // namespace

namespace {
// A module without its version information (which the build always gives it) shows 0.0.0.
std::wstring VersionTipOf(HWND window) {
  const ThisProgram::Version v = ThisProgram::FileVersion().value_or(ThisProgram::Version{0, 0, 0});
  return WindowText(window) + L" Version" + DecimalText(v.major) + L"." + DecimalText(v.minor) + L"." +
         DecimalText(v.revision) + L" (Zentrik)";
}
}  // namespace

void SetOwner(Owner* owner) { g_owner = owner; }

std::wstring VersionTip(const Form& window) { return VersionTipOf(window.Window()); }

void SetTrayIcon(const Form& window, std::wstring_view tipText, std::wstring_view balloonText, DWORD balloonStyle,
                 UINT timeoutMs) {
  NOTIFYICONDATAW record =
      BuildTrayRecord(window.hWnd(), window.Icon(), tipText, balloonText, balloonStyle, timeoutMs);
  g_currentTip = tipText;
  g_window = window.hWnd();
  g_icon = window.Icon();
  if (!TrayPrevProc) {
    ::Shell_NotifyIconW(NIM_ADD, &record);
    HookTrayWndProc(window.hWnd());
  } else {
    ::Shell_NotifyIconW(NIM_MODIFY, &record);
  }
}

void RemoveTrayIcon(const Form& window) { DeleteIconAndUnhook(window.hWnd(), window.Icon()); }

void RemoveTrayIconAtFault() noexcept {
  if (g_window) DeleteIconAndUnhook(g_window, g_icon);
}

void PutInTray(const Form& window) {
  TaskbarMenu::HookTaskbarMenu(window.hWnd());
  RemindOnClose = true;
  SetTrayIcon(window, VersionTip(window), L"", kBalloonInfo, kBalloonTimeoutMs);
}

void HideToTray(Form& window) {
  window.SetMinimised(true);
  window.Hide();
  if (RemindOnClose)
    SetTrayIcon(window, L"主人我在这里", L"想起我来点一下我哦!", kBalloonInfo, kBalloonTimeoutMs);
  else
    SetTrayIcon(window, VersionTip(window), L"", kBalloonInfo, kBalloonTimeoutMs);
}

LRESULT CALLBACK TrayWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC next = TrayPrevProc;  // an Exit inside the menu may take this procedure out
  if (msg == WM_TRAYCALLBACK && wp == 0) {
    try {
      OnTrayCallback(window, lp);
    } catch (...) {
      FailFast::End();
    }
  } else if (msg == TaskbarCreatedMessage()) {
    // A restarted shell has forgotten the icon; it is the only way back to the window.
    AddAgain();
    if (g_owner) FailFast::Guard([] { g_owner->OnTaskbarRestarted(); });
  } else if (msg == WM_DESTROY && BaseWindow::SystemIsDestroying(window)) {
    // The window goes with its icon, and leaves no hook behind: a later window starts afresh.
    DeleteIconAndUnhook(window, reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0)));
  }
  // The end of the session is answered as the system's handling answers it, and the program goes
  // on: nothing of it waits unsaved, and the system ends the process once the answer is back. Any
  // program may send or post it, and so it ends nothing here.
  return next ? ::CallWindowProcW(next, window, msg, wp, lp) : ::DefWindowProcW(window, msg, wp, lp);
}

}  // namespace TrayIcon
