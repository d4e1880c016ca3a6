#include "sampling/magnifier.h"

#include <array>

#include "formlayer/runtime.h"

namespace {

constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, newer systems only

LRESULT CALLBACK MagnifierProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  // Clicks and WindowFromPoint go through to whatever lies below.
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return ::DefWindowProcW(window, msg, wp, lp);
}

const wchar_t* MagnifierClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MagnifierProc;
    wc.hInstance = App::Instance();
    wc.lpszClassName = L"HuevikMagnifier";
    return ::RegisterClassExW(&wc);
  }();
  (void)atom;
  return L"HuevikMagnifier";
}

void ExcludeFromCapture(HWND window) {
  using SetAffinityFn = BOOL(WINAPI*)(HWND, DWORD);
  FARPROC address = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetWindowDisplayAffinity");
  if (address) reinterpret_cast<SetAffinityFn>(reinterpret_cast<void*>(address))(window, kExcludeFromCapture);
}

std::vector<RECT> Monitors() {
  std::vector<RECT> monitors;
  auto add = [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(list)->push_back(info.rcMonitor);
    return TRUE;
  };
  ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

// A top-down 32-bit bitmap selected into its own memory DC, its pixels in reach.
magnifier::Pixel* MakeCanvas(int side, unique_bitmap& bitmap, unique_mem_dc& dc) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc.reset(::CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return nullptr;
  ::SelectObject(dc.get(), bitmap.get());
  return static_cast<magnifier::Pixel*>(bits);
}

}  // namespace

Magnifier::~Magnifier() {
  if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

void Magnifier::Create(HWND owner) {
  window_ = ::CreateWindowExW(
      WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT, MagnifierClass(),
      L"", WS_POPUP, 0, 0, magnifier::kSide, magnifier::kSide, owner, nullptr, App::Instance(), nullptr);
  if (!window_) return;
  ExcludeFromCapture(window_);
  sourceBits_ = MakeCanvas(magnifier::kCells, sourceBitmap_, sourceDc_);
  pictureBits_ = MakeCanvas(magnifier::kSide, pictureBitmap_, pictureDc_);
}

void Magnifier::Show(HWND owner, POINT hot) {
  if (!window_) Create(owner);
  if (!window_ || !sourceBits_ || !pictureBits_) return;
  monitors_ = Monitors();
  Capture(hot);
  ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  shown_ = true;
}

void Magnifier::Follow(POINT hot) {
  if (!shown_ || (hot.x == shownAt_.x && hot.y == shownAt_.y)) return;
  Capture(hot);
}

void Magnifier::Hide() {
  if (!shown_) return;
  shown_ = false;
  ::ShowWindow(window_, SW_HIDE);
}

void Magnifier::Capture(POINT hot) {
  using namespace magnifier;
  shownAt_ = hot;
  RECT area = SourceArea(hot);
  HDC screen = ::GetDC(nullptr);
  // Layered windows, this program's own among them, are part of what the screen shows.
  ::BitBlt(sourceDc_.get(), 0, 0, kCells, kCells, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  ::ReleaseDC(nullptr, screen);
  ::GdiFlush();
  std::array<bool, kCells * kCells> onScreen{};
  for (int i = 0; i < kCells * kCells; ++i)
    onScreen[static_cast<size_t>(i)] = OnScreen({area.left + i % kCells, area.top + i / kCells}, monitors_);
  Render({sourceBits_, kCells * kCells}, onScreen, {pictureBits_, kSide * kSide});
  RECT place = Placement(hot, MonitorAt(hot, monitors_));
  POINT at{place.left, place.top}, origin{0, 0};
  SIZE size{kSide, kSide};
  BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, 0};
  ::UpdateLayeredWindow(window_, nullptr, &at, &size, pictureDc_.get(), &origin, 0, &opaque, ULW_ALPHA);
}
