#include "formlayer/display.h"

#include "formlayer/display_scale.h"
#include "formlayer/handles.h"

namespace {

// Per-monitor awareness, second version; the value the system headers give it.
const auto kPerMonitorAwareV2 = reinterpret_cast<void*>(static_cast<INT_PTR>(-4));

template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
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

int DpiOfWindow(HWND window) {
  static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  UINT dpi = forWindow && window ? forWindow(window) : 0;
  return dpi ? ClampDpi(static_cast<long>(dpi)) : Dpi();
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
