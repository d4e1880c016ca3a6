// The low-level keyboard and mouse hooks of a pick, on a thread of their own. Every key and
// pointer event of the system waits until a low-level hook has answered, and a hook that
// overruns the system's timeout is dropped without a word; the GUI thread may spend a frame on
// a pen move's screen copy, so the hooks never run there. Their thread has its own message
// loop, draws nothing and reads no screen: it answers from the flags the pick sets and posts
// what it takes to the pick's windows. It starts with a pick and ends with it.
#pragma once
#include <windows.h>

#include <atomic>

#include "win32/handles.h"

// Posted to the keys' window: wParam the virtual key, lParam Shift held.
inline constexpr UINT kPickKey = WM_APP + 0x120;
// Posted to the pointer's window.
inline constexpr UINT kPenMoved = kPickKey + 1;  // a move after a step: see LatestMove()
inline constexpr UINT kPenReleased = kPickKey + 2;
inline constexpr UINT kPenWheel = kPickKey + 3;  // wParam: the wheel's delta

class InputHooks {
 public:
  // Starts the hooks' thread. Keys go to `keys`, or where none is given yet, to the window that
  // SendKeysTo() names later, and until then pass; with a `pointer` window, the pointer's wheel,
  // its moves after a step and its release go there.
  InputHooks(HWND keys, HWND pointer);
  InputHooks(const InputHooks&) = delete;
  InputHooks& operator=(const InputHooks&) = delete;
  ~InputHooks();
  void SendKeysTo(HWND keys) { keys_ = keys; }
  // Returns once the hooks are in place (or could not be set).
  void AwaitSet() const;

  // What the hooks take, as the pick sets it.
  std::atomic<bool> takeEscape{true};
  std::atomic<bool> takeEnter{false};
  std::atomic<bool> takeAiming{false};  // the arrows, + and -, and the wheel
  // From the first arrow taken on, the pointer's moves and its release come through the hooks too.
  std::atomic<bool> stepped{false};
  // Set by the hooks: a button went up, so the keys that follow are no longer the pick's;
  // one posted move at a time, cleared by the pick as it reads the pointer.
  std::atomic<bool> released{false};
  std::atomic<bool> movePending{false};
  // Where the latest move after a step goes, in physical pixels. The hooks answer before the
  // system moves the pointer, so a pointer read on the GUI thread may not show it yet.
  POINT LatestMove() const {
    const DWORD at = latestMove_;
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  }

 private:
  static DWORD WINAPI Run(void* self);
  friend LRESULT CALLBACK HookedKeys(int code, WPARAM wp, LPARAM lp);
  friend LRESULT CALLBACK HookedPointer(int code, WPARAM wp, LPARAM lp);

  std::atomic<DWORD> latestMove_{0};
  std::atomic<HWND> keys_;
  const HWND pointer_;
  unique_kernel_handle ready_;
  unique_kernel_handle thread_;
  DWORD threadId_ = 0;
};
