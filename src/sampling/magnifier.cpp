#include "sampling/magnifier.h"

#include <array>

#include "formlayer/runtime.h"

namespace {

constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, newer systems only

const wchar_t* MagnifierClass(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
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

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(list)->push_back(info.rcMonitor);
  return TRUE;
}

std::vector<RECT> Monitors() {
  std::vector<RECT> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
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

LRESULT CALLBACK Magnifier::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<const Magnifier*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks and WindowFromPoint go through to whatever lies below
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (self) {
        paint_scope paint(window);
        self->Paint(paint.dc());
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, msg, wp, lp);
}

Magnifier::~Magnifier() {
  Hide();
  if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

void Magnifier::Create(HWND owner) {
  window_ = ::CreateWindowExW(
      WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT, MagnifierClass(Proc),
      L"", WS_POPUP, 0, 0, magnifier::kSide, magnifier::kSide, owner, nullptr, App::Instance(), this);
  if (!window_) return;
  ::SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
  ExcludeFromCapture(window_);
  sourceBits_ = MakeCanvas(magnifier::kCells, sourceBitmap_, sourceDc_);
  pictureBits_ = MakeCanvas(magnifier::kSide, pictureBitmap_, pictureDc_);
}

void Magnifier::Show(HWND owner, POINT hot) {
  if (!window_) Create(owner);
  if (!window_ || !sourceBits_ || !pictureBits_) return;
  monitors_ = Monitors();
  if (!screen_) screen_ = window_dc(nullptr);
  if (!own_) own_ = window_dc(window_);
  place_ = RECT{};  // the first picture moves it into place
  wheelRest_ = 0;
  Capture(hot);
  ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  shown_ = true;
}

std::optional<COLORREF> Magnifier::Follow(POINT hot) {
  if (!shown_) return std::nullopt;
  if (hot.x != shownAt_.x || hot.y != shownAt_.y) Capture(hot);
  return colour_;
}

bool Magnifier::Grow(int rings) {
  int side = magnifier::SideAfter(side_, rings);
  if (!shown_ || side == side_) return false;
  side_ = side;
  Capture(shownAt_);
  return true;
}

void Magnifier::Hide() {
  if (!shown_) return;
  shown_ = false;
  ::ShowWindow(window_, SW_HIDE);
  screen_.reset();
  own_.reset();
}

void Magnifier::Capture(POINT hot) {
  using namespace magnifier;
  shownAt_ = hot;
  RECT area = SourceArea(hot);
  // The composed screen holds every window as shown, layered ones included. A copy
  // that asks for layered windows besides (CAPTUREBLT) makes the cursor blink where
  // the desktop is composed, for every move of the drag.
  const bool copied =
      ::BitBlt(sourceDc_.get(), 0, 0, kCells, kCells, screen_.get(), area.left, area.top, SRCCOPY) != FALSE;
  ::GdiFlush();
  // A screen that cannot be read (a secure desktop) shows as no screen at all.
  std::array<bool, kCells * kCells> onScreen{};
  for (int i = 0; i < kCells * kCells; ++i)
    onScreen[static_cast<size_t>(i)] =
        copied && OnScreen({area.left + i % kCells, area.top + i / kCells}, monitors_);
  const std::span<const Pixel> source{sourceBits_, kCells * kCells};
  colour_ = SquareMean(source, onScreen, side_);
  Render(source, onScreen, side_, {pictureBits_, kSide * kSide});
  RECT monitor = MonitorAt(hot, monitors_);
  if (!StillBeside(place_, hot, monitor)) {
    place_ = Placement(hot, monitor);
    ::SetWindowPos(window_, nullptr, place_.left, place_.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Paint(own_.get());
}

void Magnifier::Paint(HDC dc) const {
  ::BitBlt(dc, 0, 0, magnifier::kSide, magnifier::kSide, pictureDc_.get(), 0, 0, SRCCOPY);
}
