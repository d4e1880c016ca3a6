// The startup of the main window; its close, which hides it to the tray, lives with the tray.
#include "colour/recent_colours.h"
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame_math.h"
#include "mainwindow/hover_tracking.h"
#include "mainwindow/skin_library.h"
#include "settings/window_position.h"
#include "win32/display.h"
#include "win32/display_scale.h"

namespace {
constexpr COLORREF kColourKey = kSeeThroughKey;
}  // namespace

void Form1::Form_Load() {
  HWND window = hWnd();
  ResumeNext(
      [&] { ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE); },
      [&] { 获取鼠标坐标(); },
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
      [&] { 圆角窗体::HoverTimerId = ::SetTimer(nullptr, 0, 1, 圆角窗体::HoverTimerProc); },
      [&] { PutInTray(); },
      [&] { 记录窗体位置::RestoreWindowPos(*this); },
      [&] { RecentColours::Load(); },
      [&] { RegisterPickHotkey(); });
}

void Form1::Form_Activate() {
  const int corner = RegionCorner(2, Display::Dpi());
  ApplyRoundRegion(corner, corner);
}
