#include "picking/magnifier.h"

#include <array>
#include <utility>

#include "picking/screen_read.h"

namespace {

constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, newer systems only
constexpr int kValueTextHeight = 18;         // the strip under the pixels that shows the value

void ExcludeFromCapture(HWND window) {
  using SetAffinityFn = BOOL(WINAPI*)(HWND, DWORD);
  FARPROC address = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetWindowDisplayAffinity");
  if (address) reinterpret_cast<SetAffinityFn>(reinterpret_cast<void*>(address))(window, kExcludeFromCapture);
}

// A top-down 32-bit bitmap selected into its own memory DC, its pixels in reach.
magnifier::Pixel* MakeCanvas(int width, int height, unique_bitmap& bitmap, unique_mem_dc& dc) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc.reset(::CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return nullptr;
  ::SelectObject(dc.get(), bitmap.get());
  return static_cast<magnifier::Pixel*>(bits);
}

}  // namespace

LRESULT Magnifier::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks and WindowFromPoint go through to whatever lies below
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    default:
      return BaseWindow::OnMessage(msg, wp, lp);
  }
}

Magnifier::~Magnifier() { Hide(); }

void Magnifier::Create(HWND owner) {
  if (!CreateOwnWindow(L"HuevikMagnifier", L"", WS_POPUP,
                       WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                       RECT{0, 0, magnifier::kSide, Height()}, owner))
    return;  // no magnifier: the pen reads one pixel a move
  ::SetLayeredWindowAttributes(Window(), 0, 255, LWA_ALPHA);
  ExcludeFromCapture(Window());
  sourceBits_ = MakeCanvas(magnifier::kCells, magnifier::kCells, sourceBitmap_, sourceDc_);
  pictureBits_ = MakeCanvas(magnifier::kSide, Height(), pictureBitmap_, pictureDc_);
}

int Magnifier::Height() const { return magnifier::kSide + (valueText_ ? kValueTextHeight : 0); }

void Magnifier::Show(HWND owner, POINT hot, int side, PixelSource source, ValueText valueText) {
  if (!Window()) {
    valueText_ = std::move(valueText);
    Create(owner);
  }
  if (!Window() || !sourceBits_ || !pictureBits_) return;
  side_ = magnifier::SideAfter(side, 0);
  source_ = source;
  monitors_ = Monitors();
  if (!own_) own_ = window_dc(Window());
  place_ = RECT{};  // the first picture moves it into place and shows it
  wheelRest_ = 0;
  Capture(hot);
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
  ::ShowWindow(Window(), SW_HIDE);
  own_.reset();
}

void Magnifier::Capture(POINT hot) {
  using namespace magnifier;
  shownAt_ = hot;
  RECT area = SourceArea(hot);
  const bool copied = ::BitBlt(sourceDc_.get(), 0, 0, kCells, kCells, source_.dc, area.left - source_.origin.x,
                               area.top - source_.origin.y, source_.rop) != FALSE;
  ::GdiFlush();
  // A screen that cannot be read (a secure desktop) shows as no screen at all.
  std::array<bool, kCells * kCells> onScreen{};
  for (int i = 0; i < kCells * kCells; ++i)
    onScreen[static_cast<size_t>(i)] =
        copied && OnScreen({area.left + i % kCells, area.top + i / kCells}, monitors_);
  const std::span<const Pixel> source{sourceBits_, kCells * kCells};
  colour_ = SquareMean(source, onScreen, side_);
  Render(source, onScreen, side_, {pictureBits_, kSide * kSide});
  DrawValueText();
  RECT monitor = MonitorAt(hot, monitors_);
  if (!StillBeside(place_, hot, monitor)) {
    place_ = Placement(hot, monitor, Height() - kSide);
    // One call moves it and, at its first picture, shows it on top.
    ::SetWindowPos(Window(), shown_ ? nullptr : HWND_TOPMOST, place_.left, place_.top, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | (shown_ ? SWP_NOZORDER : SWP_SHOWWINDOW));
  }
  OnPaint(own_.get(), {});
}

// Under the pixels, where the window under them cannot show the value (a frozen screen covers it).
void Magnifier::DrawValueText() {
  if (!valueText_) return;
  RECT strip{0, magnifier::kSide, magnifier::kSide, Height()};
  HDC dc = pictureDc_.get();
  unique_brush background(::CreateSolidBrush(magnifier::kFrameColour));
  ::FillRect(dc, &strip, background.get());
  if (!colour_) return;
  std::wstring text = valueText_(*colour_);
  select_guard font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &strip,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::GdiFlush();
}

void Magnifier::OnPaint(HDC dc, const RECT&) {
  ::BitBlt(dc, 0, 0, magnifier::kSide, Height(), pictureDc_.get(), 0, 0, SRCCOPY);
}
