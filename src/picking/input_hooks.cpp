#include "picking/input_hooks.h"

#include "picking/magnifier_geometry.h"
#include "win32/this_program.h"

namespace {

// The hooks of the pick under way: one pick at a time.
std::atomic<InputHooks*> g_hooks{nullptr};

bool IsAimingKey(DWORD key) { return magnifier::ArrowStep(key, false) || magnifier::SquareKeyRings(key); }

}  // namespace

LRESULT CALLBACK HookedKeys(int code, WPARAM wp, LPARAM lp) {
  InputHooks* hooks = g_hooks.load();
  HWND keys = hooks ? hooks->keys_.load() : nullptr;
  if (code == HC_ACTION && keys && !hooks->released && (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)) {
    const DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode;
    const bool aiming = hooks->takeAiming && IsAimingKey(key);
    if ((key == VK_ESCAPE && hooks->takeEscape) || (key == VK_RETURN && hooks->takeEnter) || aiming) {
      // An arrow taken now steps before anything that comes after it: the moves and the release
      // that follow are the hooks' to bring.
      if (aiming && magnifier::ArrowStep(key, false)) hooks->stepped = true;
      ::PostMessageW(keys, kPickKey, key, ::GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0);
      return 1;
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK HookedPointer(int code, WPARAM wp, LPARAM lp) {
  InputHooks* hooks = g_hooks.load();
  if (code != HC_ACTION || !hooks) return ::CallNextHookEx(nullptr, code, wp, lp);
  const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
  switch (wp) {
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (hooks->released) break;
      // The wheel is the drag's: it reaches no window, of this program or another.
      if (wp == WM_MOUSEWHEEL && hooks->takeAiming)
        ::PostMessageW(hooks->pointer_, kPenWheel, static_cast<WPARAM>(static_cast<short>(HIWORD(event->mouseData))),
                       0);
      return 1;
    case WM_MOUSEMOVE:
      if (!hooks->stepped) break;
      // Written before the flag is tested: the pick clears the flag before it reads the place, so
      // a move it reads too early is posted again.
      hooks->latestMove_ = static_cast<DWORD>(MAKELONG(event->pt.x, event->pt.y));
      if (!hooks->movePending.exchange(true) && !::PostMessageW(hooks->pointer_, kPenMoved, 0, 0))
        hooks->movePending = false;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      hooks->released = true;
      if (wp == WM_LBUTTONUP && hooks->stepped) ::PostMessageW(hooks->pointer_, kPenReleased, 0, 0);
      break;
    default:
      break;
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

InputHooks::InputHooks(HWND keys, HWND pointer)
    : keys_(keys), pointer_(pointer), ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  g_hooks = this;
  thread_.reset(::CreateThread(nullptr, 0, Run, this, 0, &threadId_));
}

void InputHooks::AwaitSet() const {
  if (thread_ && ready_) ::WaitForSingleObject(ready_.get(), INFINITE);
}

InputHooks::~InputHooks() {
  if (g_hooks.load() == this) g_hooks = nullptr;
  if (!thread_) return;
  AwaitSet();  // its queue is there to take the end
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI InputHooks::Run(void* param) {
  auto* self = static_cast<InputHooks*>(param);
  MSG msg;
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue, before anyone posts the end
  unique_hook keys(::SetWindowsHookExW(WH_KEYBOARD_LL, HookedKeys, ThisProgram::Instance(), 0));
  unique_hook pointer(self->pointer_ ? ::SetWindowsHookExW(WH_MOUSE_LL, HookedPointer, ThisProgram::Instance(), 0)
                                     : nullptr);
  if (self->ready_) ::SetEvent(self->ready_.get());
  // `self` is not touched after this: its destructor waits for the end of this loop.
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
  }
  return 0;
}
