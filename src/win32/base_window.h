// The base of every window of the program's own classes: the object holds its HWND
// from WM_NCCREATE to WM_NCDESTROY, and one paint method serves both the screen
// (WM_PAINT) and a caller's device context (WM_PRINTCLIENT). It alone reads and
// writes a window's GWLP_USERDATA.
#pragma once
#include <windows.h>

#include <string>

class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  virtual ~BaseWindow();

  // Null before creation starts and once the window is gone.
  HWND Window() const { return window_; }
  // Destroys the window, and its children and owned windows with it; each object is told of
  // its end as usual.
  void DestroyAndNotify() noexcept;
  // Whether the system is destroying this window of ours now, so that a destruction message
  // arriving for it is the system's and not another program's: see Procedure.
  static bool SystemIsDestroying(HWND window) noexcept;

 protected:
  // Registers the class on first use; the window's first message already reaches this object.
  // False when no window could be made.
  [[nodiscard]] bool CreateOwnWindow(const wchar_t* className, const std::wstring& text, DWORD style,
                                     DWORD exStyle, const RECT& rect, HWND parent);
  // Lets go of the window, then destroys it without calling back into this object: for
  // destructors, whose derived parts are already gone.
  void DetachThenDestroy() noexcept;

  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Paints the client area, or the part of it in area, into dc.
  virtual void OnPaint(HDC /*dc*/, const RECT& /*area*/) {}

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK WatchCreationAndDestruction(int code, WPARAM wp, LPARAM lp);
  static bool IsOwnClass(HWND window) noexcept;
  HWND window_ = nullptr;
};
