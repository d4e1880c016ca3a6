#include "win32/base_window.h"

#include <set>

#include "formlayer/runtime.h"
#include "win32/handles.h"

namespace {
// All on the one thread that owns the windows.
BaseWindow* g_creating = nullptr;  // the object whose window CreateOwnWindow is making now
int g_destroying = 0;              // DestroyWindow calls of ours under way
}  // namespace

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
  g_creating = this;
  HWND made = ::CreateWindowExW(exStyle, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, nullptr, App::Instance(), nullptr);
  g_creating = nullptr;
  if (!made) throw FormError("window cannot be created");
}

void BaseWindow::Destroy() noexcept {
  if (!window_) return;
  ++g_destroying;
  ::DestroyWindow(window_);
  --g_destroying;
}

void BaseWindow::DestroyOwnWindow() noexcept {
  HWND window = window_;
  if (!window) return;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  window_ = nullptr;
  ++g_destroying;
  ::DestroyWindow(window);
  --g_destroying;
}

bool BaseWindow::InDestruction() noexcept { return g_destroying > 0; }

LRESULT BaseWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      paint_scope paint(window_);
      OnPaint(paint.dc(), paint.area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      // A device context from anywhere: GDI refuses a handle that is not one of this process's.
      RECT client{};
      ::GetClientRect(window_, &client);
      OnPaint(reinterpret_cast<HDC>(wp), client);
      return 0;
    }
    case WM_CLOSE:
      // The system's handling would destroy the window: a form decides for itself, and nothing
      // else of ours is closed by anyone.
      return 0;
    default:
      return ::DefWindowProcW(window_, msg, wp, lp);
  }
}

// Any program may send or post any message to our windows, creation and destruction messages
// included; a sent WM_NCCREATE even carries a well-formed creation record, copied across. So:
// - The object comes from this thread's own CreateOwnWindow, never from a message: the first
//   WM_NCCREATE of a window made there takes it, and no later one changes it.
// - Only the thread that owns a window can destroy it, and ours does so only through Destroy and
//   DestroyOwnWindow (a window's children and owned windows go inside the same call). A
//   destruction message that arrives while neither runs is another program's: it ends nothing,
//   and the system's handling (which frees the window's text) does not see it either.
LRESULT CALLBACK BaseWindow::Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_NCCREATE && !self && g_creating) {
    self = std::exchange(g_creating, nullptr);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else if (msg == WM_NCCREATE) {
    return TRUE;
  } else if ((msg == WM_DESTROY || msg == WM_NCDESTROY) && !InDestruction()) {
    return 0;
  }
  if (!self) return ::DefWindowProcW(window, msg, wp, lp);
  if (msg != WM_NCDESTROY) return self->OnMessage(msg, wp, lp);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  self->window_ = nullptr;
  return ::DefWindowProcW(window, msg, wp, lp);
}
