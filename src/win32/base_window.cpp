#include "win32/base_window.h"

#include <set>

#include "win32/handles.h"
#include "formlayer/message_origin.h"
#include "formlayer/runtime.h"

BaseWindow::~BaseWindow() { DestroyOwnWindow(); }

void BaseWindow::CreateOwnWindow(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                                 const RECT& rect, HWND parent) {
  static std::set<std::wstring> registered;
  if (!registered.count(className)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = App::Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (::RegisterClassExW(&wc)) registered.insert(className);
  }
  HWND made = ::CreateWindowExW(exStyle, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, nullptr, App::Instance(), this);
  if (!made) throw FormError("window cannot be created");
}

void BaseWindow::DestroyOwnWindow() noexcept {
  HWND window = window_;
  if (!window) return;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  window_ = nullptr;
  ::DestroyWindow(window);
}

LRESULT BaseWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      paint_scope paint(window_);
      OnPaint(paint.dc(), paint.area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      // A device context from anywhere else is not one this process can paint into.
      if (!MessageOrigin::SentOnThisThread(window_, msg, wp, lp)) return 0;
      RECT client{};
      ::GetClientRect(window_, &client);
      OnPaint(reinterpret_cast<HDC>(wp), client);
      return 0;
    }
    default:
      return ::DefWindowProcW(window_, msg, wp, lp);
  }
}

// Creation and destruction happen on this thread, by the system. A creation message for a window
// that has its object, or a destruction message from anywhere else, makes and ends nothing: it is
// answered without reaching the object or the system's handling (which reads a creation record and
// frees the window's text).
LRESULT CALLBACK BaseWindow::Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    if (self) return TRUE;
    self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else if ((msg == WM_DESTROY || msg == WM_NCDESTROY) && !MessageOrigin::SentOnThisThread(window, msg, wp, lp)) {
    return 0;
  }
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  if (msg != WM_NCDESTROY) return self->OnMessage(msg, wp, lp);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  self->window_ = nullptr;
  return ::DefWindowProcW(window, msg, wp, lp);
}
