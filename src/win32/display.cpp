#include "win32/display.h"

#include "win32/display_scale.h"
#include "win32/handles.h"
#include "win32/library_search.h"

namespace {

// Awareness contexts, the values the system headers give them.
const auto kSystemAware = reinterpret_cast<void*>(static_cast<INT_PTR>(-2));
const auto kPerMonitorAwareV2 = reinterpret_cast<void*>(static_cast<INT_PTR>(-4));

template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
using SetThreadDpiAwarenessContextFn = void*(WINAPI*)(void*);

int ReadSystemDpi() {
  if (auto forSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem")) return ClampDpi(forSystem());
  window_dc screen = GetWindowDc(nullptr);
  return ClampDpi(screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : kBaseDpi);
}

int g_layoutDpi = 0;  // 0 until first asked: the system's

}  // namespace

namespace Display {

int SystemDpi() {
  static const int dpi = ReadSystemDpi();
  return dpi;
}

int Dpi() { return g_layoutDpi ? g_layoutDpi : SystemDpi(); }
void SetDpi(int dpi) { g_layoutDpi = ClampDpi(dpi); }
float TwipsPerPixel() { return TwipsPerPixelAt(Dpi()); }

int DpiAt(POINT screen) {
  // Loaded at the first question, not at every start.
  static const auto forMonitor = [] {
    HMODULE shcore = LibrarySearch::LoadSystemLibrary(L"shcore.dll");
    FARPROC address = shcore ? ::GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
    return reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(address));
  }();
  UINT x = 0, y = 0;
  HMONITOR monitor = ::MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
  if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && x)
    return ClampDpi(static_cast<long>(x));
  return SystemDpi();
}

LOGFONTW MessageFontAt(int dpi) {
  static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
    return metrics.lfMessageFont;
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMessageFont, &metrics.lfMessageFont);
    return metrics.lfMessageFont;
  }
  // At the system's resolution: in proportion to the one asked for.
  metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  return metrics.lfMessageFont;
}

int DpiOfWindow(HWND window) {
  static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  UINT dpi = forWindow && window ? forWindow(window) : 0;
  return dpi ? ClampDpi(static_cast<long>(dpi)) : Dpi();
}

// Wine neither virtualises coordinates nor moves a program to another resolution, so per-monitor
// awareness gains nothing there; yet its per-monitor path slows every pointer message (a
// 20,000-move palette drag was still being worked off seconds after it ended). At one
// resolution a system-aware window is the same window.
void SettleThreadAwareness() {
  static const bool settled = [] {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const bool wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    auto setContext = User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
    if (wine && setContext) setContext(kSystemAware);
    return true;
  }();
  (void)settled;
}

}  // namespace Display

PhysicalPixelScope::PhysicalPixelScope() {
  static const auto setContext = User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
  if (setContext) previous_ = setContext(kPerMonitorAwareV2);
}

PhysicalPixelScope::~PhysicalPixelScope() {
  static const auto setContext = User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
  if (setContext && previous_) setContext(previous_);
}
