// Owning wrappers for the system objects the program creates itself.
// One move-only template with a one-line alias per handle type, plus scoped
// pairs for DCs and selected objects, so no DeleteObject is ever scattered about.
#pragma once
#include <windows.h>

#include <utility>

// Which values of a handle mean "none": those are never closed.
struct null_is_none {
  template <typename Handle>
  static constexpr bool Valid(Handle h) noexcept {
    return h != Handle{};
  }
};
// File-style kernel handles report failure as INVALID_HANDLE_VALUE, yet null is no handle either.
struct null_or_invalid_is_none {
  static bool Valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
};

template <typename Handle, auto Close, typename None = null_is_none>
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
  explicit operator bool() const noexcept { return None::Valid(h_); }
  Handle release() noexcept { return std::exchange(h_, Handle{}); }
  void reset(Handle h = Handle{}) noexcept {
    Handle old = std::exchange(h_, h);
    if (None::Valid(old)) Close(old);
  }
  // For functions that hand a new handle back through a pointer: closes the old one first.
  Handle* put() noexcept {
    reset();
    return &h_;
  }

 private:
  Handle h_{};
};

namespace handle_close {
inline void Gdi(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void Dc(HDC h) noexcept { ::DeleteDC(h); }
inline void Icon(HICON h) noexcept { ::DestroyIcon(h); }
inline void Cursor(HCURSOR h) noexcept { ::DestroyCursor(h); }
inline void Menu(HMENU h) noexcept { ::DestroyMenu(h); }
inline void Module(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void Kernel(HANDLE h) noexcept { ::CloseHandle(h); }
inline void RegistryKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void Window(HWND h) noexcept { ::DestroyWindow(h); }
inline void Hook(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
}  // namespace handle_close

using unique_brush = unique_handle<HBRUSH, handle_close::Gdi>;
using unique_pen = unique_handle<HPEN, handle_close::Gdi>;
using unique_font = unique_handle<HFONT, handle_close::Gdi>;
using unique_bitmap = unique_handle<HBITMAP, handle_close::Gdi>;
using unique_region = unique_handle<HRGN, handle_close::Gdi>;
using unique_mem_dc = unique_handle<HDC, handle_close::Dc>;
using unique_icon = unique_handle<HICON, handle_close::Icon>;
using unique_cursor = unique_handle<HCURSOR, handle_close::Cursor>;
using unique_menu = unique_handle<HMENU, handle_close::Menu>;
using unique_module = unique_handle<HMODULE, handle_close::Module>;
using unique_hkey = unique_handle<HKEY, handle_close::RegistryKey>;
// A window of a class that is not ours (a tooltip, a helper popup); ours destroy themselves.
using unique_window = unique_handle<HWND, handle_close::Window>;
// A hook holds only as long as the thread that set it.
using unique_hook = unique_handle<HHOOK, handle_close::Hook>;
// Process, thread, event: null when there is none.
using unique_kernel_handle = unique_handle<HANDLE, handle_close::Kernel>;
// CreateFile, FindFirstFile-style results: INVALID_HANDLE_VALUE when there is none.
using unique_file = unique_handle<HANDLE, handle_close::Kernel, null_or_invalid_is_none>;

// The two handles CreateProcess hands back, closed together.
struct unique_process_information {
  unique_kernel_handle process;
  unique_kernel_handle thread;
  DWORD processId = 0;
  // Takes what CreateProcess filled in.
  void adopt(const PROCESS_INFORMATION& info) noexcept {
    process.reset(info.hProcess);
    thread.reset(info.hThread);
    processId = info.dwProcessId;
  }
};

// A DC from GetDC, given back with ReleaseDC to the window it came from. As a member it starts
// empty: assign GetWindowDc(...) to take one, reset() to give it back early.
class window_dc {
 public:
  window_dc() noexcept = default;
  explicit window_dc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;
  window_dc(window_dc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  window_dc& operator=(window_dc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~window_dc() { reset(); }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }
  void reset() noexcept {
    if (dc_) ::ReleaseDC(window_, std::exchange(dc_, nullptr));
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};
// GetDC for a window, or for the whole screen with nullptr.
inline window_dc GetWindowDc(HWND window) noexcept { return window_dc(window); }

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

// Selects an object into a DC and puts the previous one back on scope exit. Movable, so a
// holder can keep an object selected for its own lifetime; a moved-from guard restores nothing.
class select_guard {
 public:
  select_guard() noexcept = default;
  select_guard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  select_guard(const select_guard&) = delete;
  select_guard& operator=(const select_guard&) = delete;
  select_guard(select_guard&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}
  select_guard& operator=(select_guard&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      old_ = std::exchange(other.old_, nullptr);
    }
    return *this;
  }
  ~select_guard() { reset(); }
  // Puts the previous object back now.
  void reset() noexcept {
    HGDIOBJ old = std::exchange(old_, nullptr);
    if (old && old != HGDI_ERROR) ::SelectObject(dc_, old);
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};
