#include "picking/magnifier.h"

#include <algorithm>
#include <array>
#include <utility>

#include "picking/screen_read.h"
#include "win32/display.h"

namespace {

constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, newer systems only
constexpr int kTextPad = 3;                  // around the value's text in its strip, at 96 dpi
constexpr UINT_PTR kNameTimer = 1;
constexpr UINT kNamePeriodMs = 100;          // the window's text follows the strip's at most this often

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
    case WM_TIMER:
      if (wp == kNameTimer) FollowName();
      return 0;
    default:
      return BaseWindow::OnMessage(msg, wp, lp);
  }
}

Magnifier::~Magnifier() { Hide(); }

void Magnifier::Create(HWND owner) {
  if (!CreateOwnWindow(L"HuevikMagnifier", L"", WS_POPUP,
                       WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                       RECT{0, 0, 1, 1}, owner))
    return;  // no magnifier: the pen reads one pixel a move
  ::SetLayeredWindowAttributes(Window(), 0, 255, LWA_ALPHA);
  ExcludeFromCapture(Window());
  sourceBits_ = MakeCanvas(magnifier::kCells, magnifier::kCells, sourceBitmap_, sourceDc_);
}

bool Magnifier::Measure(POINT hot, int textWidth) {
  const int dpi = Display::DpiAt(hot);
  if (dpi != dpi_) {
    dpi_ = dpi;
    scale_ = magnifier::ScaleAt(dpi);
    if (valueText_) {
      LOGFONTW font = Display::MessageFontAt(dpi);
      font_.reset(::CreateFontIndirectW(&font));
    }
    widestText_ = valueText_ ? TextWidth(valueText_(0xFFFFFF)) : 0;
  }
  widestText_ = std::max(widestText_, textWidth);
  const int pad = ::MulDiv(kTextPad, dpi_, 96);
  SIZE size{scale_.Side(), scale_.Side()};
  if (valueText_) {
    select_guard font(sourceDc_.get(), StripFont());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(sourceDc_.get(), &metrics);
    stripHeight_ = metrics.tmHeight + 2 * pad;
    size.cx = std::max<LONG>(size.cx, widestText_ + 2 * pad);
    size.cy += stripHeight_;
  }
  if (size.cx == size_.cx && size.cy == size_.cy && pictureBits_) return true;
  size_ = size;
  place_ = RECT{};  // placed, and sized, at the next picture
  return MakeCanvases();
}

bool Magnifier::MakeCanvases() {
  pictureBits_ = MakeCanvas(size_.cx, size_.cy, pictureBitmap_, pictureDc_);
  stripDrawn_ = false;
  if (!pictureBits_) return false;
  // The frame's colour wherever the pixels leave room: beside them, where the strip is wider.
  RECT all{0, 0, size_.cx, size_.cy};
  unique_brush frame(::CreateSolidBrush(magnifier::kFrameColour));
  ::FillRect(pictureDc_.get(), &all, frame.get());
  return true;
}

// Measured in the copy's memory DC, of the screen's resolution: a screen DC would cost a round
// trip to the window system at every text.
int Magnifier::TextWidth(const std::wstring& text) const {
  select_guard font(sourceDc_.get(), StripFont());
  SIZE extent{};
  ::GetTextExtentPoint32W(sourceDc_.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

HGDIOBJ Magnifier::StripFont() const { return font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT); }

void Magnifier::Show(HWND owner, POINT hot, int side, PixelSource source, ValueText valueText) {
  if (!Window()) {
    valueText_ = std::move(valueText);
    Create(owner);
  }
  if (!Window() || !sourceBits_ || !Measure(hot)) return;
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
  if (nameFollowing_) FollowName();
  ::KillTimer(Window(), kNameTimer);
  nameFollowing_ = false;
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
  if (!shown_ || !StillBeside(place_, hot, MonitorAt(hot, monitors_), scale_)) Measure(hot);
  // The pixels in the middle of the window's width, above the strip.
  const int left = (size_.cx - scale_.Side()) / 2;
  Render(source, onScreen, side_,
         {pictureBits_ + left, static_cast<size_t>(size_.cx) * static_cast<size_t>(size_.cy) - left}, scale_,
         size_.cx);
  DrawValueText();
  RECT monitor = MonitorAt(hot, monitors_);
  if (!StillBeside(place_, hot, monitor, scale_)) {
    place_ = Placement(hot, monitor, size_, scale_);
    // One call moves it and, at its first picture, shows it on top; it is sized only when its
    // size changed, since a layered window's surface is made anew at every sizing.
    const bool resized = size_.cx != windowSize_.cx || size_.cy != windowSize_.cy;
    windowSize_ = size_;
    ::SetWindowPos(Window(), shown_ ? nullptr : HWND_TOPMOST, place_.left, place_.top, size_.cx, size_.cy,
                   SWP_NOACTIVATE | (shown_ ? SWP_NOZORDER : SWP_SHOWWINDOW) | (resized ? 0 : SWP_NOSIZE));
  }
  OnPaint(own_.get(), {});
}

// Under the pixels, where the window under them cannot show the value (a frozen screen covers it).
void Magnifier::DrawValueText() {
  if (!valueText_) return;
  std::wstring text = colour_ ? valueText_(*colour_) : std::wstring();
  // The strip stays as drawn, under pixels drawn anew at every move, until its text changes.
  if (stripDrawn_ && text == shownText_) return;
  // Never clipped: a text wider than any before widens the strip, and the window with it.
  const int pad = ::MulDiv(kTextPad, dpi_, 96);
  if (const int width = TextWidth(text); width + 2 * pad > size_.cx) Measure(shownAt_, width);
  shownText_ = text;
  if (!nameFollowing_) FollowName();
  stripDrawn_ = true;
  RECT strip{0, size_.cy - stripHeight_, size_.cx, size_.cy};
  HDC dc = pictureDc_.get();
  unique_brush background(::CreateSolidBrush(magnifier::kFrameColour));
  ::FillRect(dc, &strip, background.get());
  if (!colour_) return;
  select_guard font(dc, StripFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &strip,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::GdiFlush();
}

// A screen reader reads the window's text: the strip's. Each setting is a round trip to the window
// system, and a reader speaks each, so while the strip keeps changing the window's text follows it
// at a timer's pace: at once when it first changes, then at each tick while it differs, and the
// timer goes once a tick finds it the same.
void Magnifier::FollowName() {
  if (namedText_ == shownText_) {
    ::KillTimer(Window(), kNameTimer);
    nameFollowing_ = false;
    return;
  }
  namedText_ = shownText_;
  ::SetWindowTextW(Window(), namedText_.c_str());
  if (!nameFollowing_) nameFollowing_ = ::SetTimer(Window(), kNameTimer, kNamePeriodMs, nullptr) != 0;
}

void Magnifier::OnPaint(HDC dc, const RECT&) {
  ::BitBlt(dc, 0, 0, size_.cx, size_.cy, pictureDc_.get(), 0, 0, SRCCOPY);
}
