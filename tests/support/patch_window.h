// A topmost popup of the test's own, painted in solid patches side by side, so a
// sample taken anywhere on it has a colour known beforehand: for the form tests, the
// end-to-end tests and the benchmarks alike.
#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "win32/handles.h"

class PatchWindow {
 public:
  // Patches of patchWidth x height pixels, left to right, the window's top-left
  // client corner at origin (screen pixels).
  PatchWindow(POINT origin, std::vector<COLORREF> colours, int patchWidth = 40, int height = 40,
              DWORD style = WS_POPUP, DWORD exStyle = WS_EX_TOPMOST)
      : colours_(std::move(colours)), patchWidth_(patchWidth), height_(height) {
    RECT outer{origin.x, origin.y, origin.x + patchWidth_ * static_cast<int>(colours_.size()), origin.y + height_};
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    window_ = ::CreateWindowExW(exStyle | WS_EX_NOACTIVATE, ClassName(), L"patches", style, outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), this);
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window_);
  }
  PatchWindow(const PatchWindow&) = delete;
  PatchWindow& operator=(const PatchWindow&) = delete;
  ~PatchWindow() {
    if (window_) ::DestroyWindow(window_);
  }

  HWND hwnd() const { return window_; }
  COLORREF Colour(std::size_t i) const { return colours_[i]; }
  // Screen point in patch i, dx/dy pixels right of and below its centre.
  POINT At(std::size_t i, int dx = 0, int dy = 0) const {
    POINT p{static_cast<int>(i) * patchWidth_ + patchWidth_ / 2 + dx, height_ / 2 + dy};
    ::ClientToScreen(window_, &p);
    return p;
  }
  // Paints every other pixel in a second colour, a checkerboard keeping the first at each At(i).
  void Checker(COLORREF other) {
    checker_ = other;
    ::InvalidateRect(window_, nullptr, FALSE);
  }
  // Shows every patch in `lit` from the next pointer move over the window on, as a link or a button
  // lights up under a free pointer, until Unlight; counts the moves it is told of.
  void LightUnderPointer(COLORREF lit) { lit_ = lit; }
  void Unlight() {
    lighting_ = false;
    ::InvalidateRect(window_, nullptr, FALSE);
    ::UpdateWindow(window_);
  }
  bool Lit() const { return lighting_; }
  int Moves() const { return moves_; }
  // Paints patch i in a new colour at once.
  void Repaint(std::size_t i, COLORREF colour) {
    colours_[i] = colour;
    RECT r{static_cast<int>(i) * patchWidth_, 0, static_cast<int>(i + 1) * patchWidth_, height_};
    ::InvalidateRect(window_, &r, FALSE);
    ::UpdateWindow(window_);
  }

 private:
  static const wchar_t* ClassName() {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = L"HuevikTestPatches";
      return ::RegisterClassW(&wc);
    }();
    (void)atom;
    return L"HuevikTestPatches";
  }

  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PatchWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && msg == WM_PAINT) {
      paint_scope paint(window);
      self->Paint(paint.dc());
      return 0;
    }
    if (self && msg == WM_MOUSEMOVE) {
      ++self->moves_;
      if (self->lit_ && !std::exchange(self->lighting_, true)) ::InvalidateRect(window, nullptr, FALSE);
    }
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return ::DefWindowProcW(window, msg, wp, lp);
  }

  void Paint(HDC dc) const {
    for (std::size_t i = 0; i < colours_.size(); ++i) {
      RECT r{static_cast<int>(i) * patchWidth_, 0, static_cast<int>(i + 1) * patchWidth_, height_};
      unique_brush brush(::CreateSolidBrush(lighting_ ? *lit_ : colours_[i]));
      ::FillRect(dc, &r, brush.get());
      for (int y = 0; checker_ && y < height_; ++y)
        for (int x = r.left + (y + patchWidth_ / 2 + height_ / 2 + 1) % 2; x < r.right; x += 2)
          ::SetPixelV(dc, x, y, *checker_);
    }
  }

  std::vector<COLORREF> colours_;
  std::optional<COLORREF> checker_;
  std::optional<COLORREF> lit_;
  bool lighting_ = false;
  int moves_ = 0;
  int patchWidth_;
  int height_;
  HWND window_ = nullptr;
};
