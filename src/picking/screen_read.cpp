#include "picking/screen_read.h"

#include <versionhelpers.h>

#include "win32/fail_fast.h"
#include "win32/library_search.h"

// Composition can be off only before Windows 8, and there it follows the theme, which the user
// may change while the program runs: asked at each copy. The composition library loads only there.
DWORD ScreenCopyRop() {
  static const bool alwaysComposed = ::IsWindows8OrGreater();
  if (alwaysComposed) return SRCCOPY;
  using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
  static const auto isEnabled = [] {
    HMODULE library = LibrarySearch::LoadSystemLibrary(L"dwmapi.dll");
    return reinterpret_cast<IsCompositionEnabledFn>(
        reinterpret_cast<void*>(library ? ::GetProcAddress(library, "DwmIsCompositionEnabled") : nullptr));
  }();
  BOOL enabled = FALSE;
  const bool composed = isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
  return composed ? SRCCOPY : SRCCOPY | CAPTUREBLT;
}

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(monitor, &info))
    FailFast::Guard([&] { reinterpret_cast<std::vector<RECT>*>(list)->push_back(info.rcMonitor); });
  return TRUE;
}
}  // namespace

std::vector<RECT> Monitors() {
  std::vector<RECT> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

// A device-dependent bitmap: the copy is only ever shown and read through GDI, and the system
// keeps it in the screen's own format, which is the cheapest to fill from the screen.
RECT VirtualScreenRect() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ScreenCopy::ScreenCopy() {
  bounds_ = VirtualScreenRect();
  const int left = bounds_.left, top = bounds_.top;
  const int width = bounds_.right - left, height = bounds_.bottom - top;
  if (width <= 0 || height <= 0) return;
  window_dc screen(nullptr);
  if (!screen) return;
  bitmap_.reset(::CreateCompatibleBitmap(screen.get(), width, height));
  dc_.reset(::CreateCompatibleDC(screen.get()));
  if (!bitmap_ || !dc_) return;
  ::SelectObject(dc_.get(), bitmap_.get());
  copied_ = ::BitBlt(dc_.get(), 0, 0, width, height, screen.get(), left, top, ScreenCopyRop()) != FALSE;
}

COLORREF ScreenCopy::At(POINT screen) const {
  COLORREF colour = copied_ ? ::GetPixel(dc_.get(), screen.x - bounds_.left, screen.y - bounds_.top) : CLR_INVALID;
  return colour == CLR_INVALID ? 0 : colour;
}
