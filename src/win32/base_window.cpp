#include "win32/base_window.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "win32/fail_fast.h"
#include "win32/handles.h"

namespace {

// All on the one thread that owns the windows.

// The object CreateOwnWindow is making a window for now, and that window once the system named it.
struct Creation {
  BaseWindow* object;
  HWND window;
};
Creation g_creation{};

// A window of ours the system is destroying now, from the start of its destruction to its
// WM_NCDESTROY; whether its WM_DESTROY has arrived yet.
struct Destruction {
  HWND window;
  bool destroyArrived;
};
std::vector<Destruction> g_destructions;

Destruction* DestructionOf(HWND window) {
  auto found = std::find_if(g_destructions.begin(), g_destructions.end(),
                            [window](const Destruction& d) { return d.window == window; });
  return found == g_destructions.end() ? nullptr : &*found;
}

void BeginDestruction(HWND window, bool destroyArrived) {
  std::erase_if(g_destructions, [](const Destruction& d) { return !::IsWindow(d.window); });
  g_destructions.push_back({window, destroyArrived});
}

// A child goes with its parent: the system tells the parent first, then each child.
bool AncestorIsBeingDestroyed(HWND window) {
  for (HWND child = window; ::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD;) {
    child = ::GetAncestor(child, GA_PARENT);
    if (!child) return false;
    if (DestructionOf(child)) return true;
  }
  return false;
}

// A message that ends nothing: its window is not being destroyed, or was told so already.
bool TakeDestroy(HWND window) {
  if (Destruction* known = DestructionOf(window)) return !std::exchange(known->destroyArrived, true);
  if (!BaseWindow::SystemIsDestroying(window)) return false;
  BeginDestruction(window, true);
  return true;
}

// The last message of a destruction, after its WM_DESTROY; a failed creation may send it alone.
bool TakeNcDestroy(HWND window) {
  Destruction* known = DestructionOf(window);
  const bool failedCreation = window == g_creation.window;
  if (!failedCreation && !(known && known->destroyArrived)) return false;
  if (known) g_destructions.erase(g_destructions.begin() + (known - g_destructions.data()));
  return true;
}

}  // namespace

BaseWindow::~BaseWindow() { DetachThenDestroy(); }

bool BaseWindow::CreateOwnWindow(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                                 const RECT& rect, HWND parent) {
  // Set at the first creation; where the system refused it, asked again at the next.
  static unique_hook watch;
  if (!watch) watch.reset(::SetWindowsHookExW(WH_CBT, WatchCreationAndDestruction, nullptr, ::GetCurrentThreadId()));
  static std::set<std::wstring> registered;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!watch) return false;  // no creation could be told from a forged one
  if (!registered.count(className)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (::RegisterClassExW(&wc)) registered.insert(className);
  }
  const Creation outer = std::exchange(g_creation, Creation{this, nullptr});
  HWND made = ::CreateWindowExW(exStyle, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, nullptr, instance, nullptr);
  g_creation = outer;
  if (!made) window_ = nullptr;
  return made != nullptr;
}

void BaseWindow::DestroyAndNotify() noexcept {
  if (window_) ::DestroyWindow(window_);
}

void BaseWindow::DetachThenDestroy() noexcept {
  HWND window = std::exchange(window_, nullptr);
  if (!window) return;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
}

bool BaseWindow::SystemIsDestroying(HWND window) noexcept {
  return DestructionOf(window) || AncestorIsBeingDestroyed(window) || window == g_creation.window;
}

bool BaseWindow::IsOwnClass(HWND window) noexcept {
  return ::GetClassLongPtrW(window, GCLP_WNDPROC) == reinterpret_cast<ULONG_PTR>(&Procedure);
}

// The system tells this hook of each window it starts to make or to destroy on this thread,
// before the window's first or any of its last messages: by our call, by anyone's DestroyWindow,
// with a window's parent or owner. It costs nothing per message.
LRESULT CALLBACK BaseWindow::WatchCreationAndDestruction(int code, WPARAM wp, LPARAM lp) {
  const LRESULT refused = ::CallNextHookEx(nullptr, code, wp, lp);
  const auto window = reinterpret_cast<HWND>(wp);
  if (refused || (code != HCBT_CREATEWND && code != HCBT_DESTROYWND) || !IsOwnClass(window)) return refused;
  if (code == HCBT_CREATEWND && g_creation.object && !g_creation.window) g_creation.window = window;
  if (code == HCBT_DESTROYWND && !DestructionOf(window)) FailFast::Guard([&] { BeginDestruction(window, false); });
  return refused;
}

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
    case WM_DPICHANGED:
      // Every window of ours is laid out at the one resolution the main window owns; a change
      // told to any other, real or forged, changes nothing.
      return 0;
    default:
      return ::DefWindowProcW(window_, msg, wp, lp);
  }
}

// Any program may send or post any message to our windows, creation and destruction messages
// included; a sent WM_NCCREATE even carries a well-formed creation record, copied across. So the
// system's own word decides, as the hook above hears it:
// - The object comes from this thread's own CreateOwnWindow: the WM_NCCREATE of the very window
//   the system named to the hook takes it, and nothing later changes it.
// - A window's destruction messages are the system's only while the system destroys that window
//   (or, after a failed creation, the window being made), each once, WM_DESTROY before
//   WM_NCDESTROY. Any other ends nothing, and the system's handling (which frees the window's
//   text) does not see it either.
// No exception goes back into the system, which cannot be unwound through: it is a fault. The
// handler is called from here directly, so a handler sits a call or two above the system.
LRESULT CALLBACK BaseWindow::Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    auto* self = reinterpret_cast<BaseWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (msg) {
      case WM_NCCREATE:
        if (self || window != g_creation.window || g_creation.object->window_) return TRUE;
        self = g_creation.object;
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        break;
      case WM_DESTROY:
        if (!TakeDestroy(window)) return 0;
        break;
      case WM_NCDESTROY:
        if (!TakeNcDestroy(window)) return 0;
        if (self) {
          ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
          self->window_ = nullptr;
        }
        return ::DefWindowProcW(window, msg, wp, lp);
      default:
        break;
    }
    return self ? self->OnMessage(msg, wp, lp) : ::DefWindowProcW(window, msg, wp, lp);
  } catch (...) {
    FailFast::End();
  }
}
