#include "formlayer/base_window.h"

#include <set>

#include "formlayer/handles.h"
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

namespace {

// Creation and destruction happen on this thread, by the system; the same messages from anywhere
// else create and destroy nothing, and are answered without reaching the object or the system's
// handling of them (which reads a creation record and frees the window's text).
bool ForeignLifecycleMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  const bool lifecycle = msg == WM_NCCREATE || msg == WM_CREATE || msg == WM_DESTROY || msg == WM_NCDESTROY;
  return lifecycle && !MessageOrigin::SentOnThisThread(window, msg, wp, lp);
}

}  // namespace

LRESULT CALLBACK BaseWindow::Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (ForeignLifecycleMessage(window, msg, wp, lp)) return msg == WM_NCCREATE;
  auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_NCCREATE && !self) {
    self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  if (msg != WM_NCDESTROY) return self->OnMessage(msg, wp, lp);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  self->window_ = nullptr;
  return ::DefWindowProcW(window, msg, wp, lp);
}
