// Owning wrappers for the GDI and USER objects the program creates itself.
// One move-only template with a one-line alias per handle type, plus scoped
// pairs for DCs and selected objects, so no DeleteObject is ever scattered about.
#pragma once
#include <windows.h>
#include <utility>

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class unique_handle {
 public:
  unique_handle() noexcept = default;
  explicit unique_handle(Handle h) noexcept : h_(h) {}
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& other) noexcept : h_(other.release()) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_handle() { reset(); }

  Handle get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != Invalid; }
  Handle release() noexcept { return std::exchange(h_, Invalid); }
  void reset(Handle h = Invalid) noexcept {
    Handle old = std::exchange(h_, h);
    if (old != Invalid) Close(old);
  }

 private:
  Handle h_ = Invalid;
};

namespace handle_close {
inline void Gdi(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void Dc(HDC h) noexcept { ::DeleteDC(h); }
inline void Icon(HICON h) noexcept { ::DestroyIcon(h); }
inline void Cursor(HCURSOR h) noexcept { ::DestroyCursor(h); }
inline void Menu(HMENU h) noexcept { ::DestroyMenu(h); }
inline void Module(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void Kernel(HANDLE h) noexcept { ::CloseHandle(h); }
}  // namespace handle_close

using unique_brush = unique_handle<HBRUSH, handle_close::Gdi>;
using unique_font = unique_handle<HFONT, handle_close::Gdi>;
using unique_bitmap = unique_handle<HBITMAP, handle_close::Gdi>;
using unique_region = unique_handle<HRGN, handle_close::Gdi>;
using unique_mem_dc = unique_handle<HDC, handle_close::Dc>;
using unique_icon = unique_handle<HICON, handle_close::Icon>;
using unique_cursor = unique_handle<HCURSOR, handle_close::Cursor>;
using unique_menu = unique_handle<HMENU, handle_close::Menu>;
using unique_module = unique_handle<HMODULE, handle_close::Module>;
using unique_kernel_handle = unique_handle<HANDLE, handle_close::Kernel>;

// GetDC / ReleaseDC for the lifetime of a scope.
class window_dc {
 public:
  explicit window_dc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;
  ~window_dc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class paint_scope {
 public:
  explicit paint_scope(HWND window) noexcept : window_(window) { ::BeginPaint(window, &ps_); }
  paint_scope(const paint_scope&) = delete;
  paint_scope& operator=(const paint_scope&) = delete;
  ~paint_scope() { ::EndPaint(window_, &ps_); }
  HDC dc() const noexcept { return ps_.hdc; }
  const RECT& area() const noexcept { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
};

// Selects an object into a DC and puts the previous one back on scope exit.
class select_guard {
 public:
  select_guard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  select_guard(const select_guard&) = delete;
  select_guard& operator=(const select_guard&) = delete;
  ~select_guard() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};
