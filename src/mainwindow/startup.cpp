// The startup of the main window; its close, which hides it to the tray, lives with the tray.
#include "colour/recent_colours.h"
#include "controls/runtime.h"
#include "mainwindow/main_window.h"
#include "mainwindow/frame_math.h"
#include "mainwindow/hover_tracking.h"
#include "mainwindow/skin_library.h"
#include "settings/window_position.h"
#include "win32/display.h"
#include "win32/display_scale.h"

namespace {
constexpr COLORREF kColourKey = kSeeThroughKey;
}  // namespace

void MainWindow::OnLoad() {
  HWND window = hWnd();
  ResumeNext(
      [&] { ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE); },
      [&] { UpdateHoverRect(); },
      [&] { SetScaleMode(3); },
      [&] { SetBackColor(kColourKey); },
      [&] {
        LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
        ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
      },
      [&] { ::SetLayeredWindowAttributes(window, kColourKey, 0, LWA_COLORKEY); },
      [&] { SkinLibrary::AttachEx(SkinLibrary::SkinPath(), ""); },
      [&] { SkinLibrary::SetAero(0); },
      [&] {
        LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        ::SetWindowLongPtrW(window, GWL_STYLE, style | WS_MINIMIZEBOX | WS_SYSMENU);
      },
      [&] { HoverTracking::HoverTimerId = ::SetTimer(nullptr, 0, 1, HoverTracking::HoverTimerProc); },
      [&] { PutInTray(); },
      [&] { SavedPosition::RestoreWindowPos(*this); },
      [&] { RecentColours::Load(); },
      [&] { RegisterPickHotkey(); });
}

void MainWindow::OnActivate() {
  const int corner = RegionCorner(2, Display::Dpi());
  ApplyRoundRegion(corner, corner);
}
