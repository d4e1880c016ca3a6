#include "picking/frozen_pick.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include "picking/picker.h"
#include "win32/display.h"
#include "win32/library_search.h"

namespace {

// Posted to itself when another program took the front: the pick ends once the system is done
// handing the front over, so that no window of ours is hidden while it is the active one.
constexpr UINT kFrontTaken = WM_APP + 0x124;

// Locking the session or switching it away cancels a frozen pick. The library loads only
// for a frozen pick, not at every start.
template <typename Function>
Function SessionFunction(const char* name) {
  static HMODULE library = LibrarySearch::LoadSystemLibrary(L"wtsapi32.dll");
  FARPROC address = library ? ::GetProcAddress(library, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
using RegisterSessionFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSessionFn = BOOL(WINAPI*)(HWND);
bool SessionLeft(WPARAM change) {
  return change == WTS_CONSOLE_DISCONNECT || change == WTS_REMOTE_DISCONNECT || change == WTS_SESSION_LOCK;
}

}  // namespace

FrozenPick::FrozenPick(Picker& picker, int& squareSide, std::unique_ptr<ScreenCopy> copy,
                       std::unique_ptr<InputHooks> hooks, HWND foregroundBefore)
    : picker_(picker),
      copy_(std::move(copy)),
      aim_(*this, squareSide),
      hooks_(std::move(hooks)),
      foregroundBefore_(foregroundBefore) {}

std::unique_ptr<FrozenPick> FrozenPick::Start(Picker& picker, int& squareSide, HWND frontAfter) {
  PhysicalPixelScope physical;
  HWND foreground = frontAfter ? frontAfter : ::GetForegroundWindow();
  // The hooks' thread sets itself up while the screen is copied; they take no key before the
  // frozen windows are there to take it.
  auto hooks = std::make_unique<InputHooks>(nullptr, nullptr);
  auto copy = std::make_unique<ScreenCopy>();
  if (copy->Copied()) {
    std::unique_ptr<FrozenPick> pick(
        new FrozenPick(picker, squareSide, std::move(copy), std::move(hooks), foreground));
    if (pick->Show()) return pick;
  }
  ::MessageBeep(MB_OK);
  return nullptr;
}

FrozenPick::~FrozenPick() {
  if (!windows_.empty())
    if (auto unregister = SessionFunction<UnregisterSessionFn>("WTSUnRegisterSessionNotification"))
      unregister(windows_.front()->Window());
}

bool FrozenPick::Show() {
  for (const RECT& monitor : Monitors()) {
    windows_.push_back(std::make_unique<FrozenWindow>(
        *copy_, monitor, [this](UINT msg, WPARAM wp, LPARAM lp) { return OnInput(msg, wp, lp); }));
    if (!windows_.back()->Window()) return false;
  }
  if (windows_.empty()) return false;
  HWND front = windows_.front()->Window();
  // The keys are the pick's from before it shows: one typed as it appears waits in the queue for
  // the magnifier, wherever the system has the focus then.
  hooks_->takeEnter = true;
  hooks_->takeAiming = true;
  hooks_->SendKeysTo(front);
  hooks_->AwaitSet();
  for (const auto& window : windows_) {
    ::SetWindowPos(window->Window(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(window->Window());
  }
  ::SetForegroundWindow(front);
  ::SetFocus(front);
  if (auto notify = SessionFunction<RegisterSessionFn>("WTSRegisterSessionNotification"))
    notify(front, NOTIFY_FOR_THIS_SESSION);
  aim_.Magnify(front, copy_->Source(), picker_.StripText());
  return true;
}

bool FrozenPick::OnInput(UINT msg, WPARAM wp, LPARAM lp) {
  if (ended_) return false;
  switch (msg) {
    case WM_MOUSEMOVE: {
      PhysicalPixelScope physical;
      const POINT hot = PointerNow();
      if (!aim_.IsEcho(hot)) aim_.Follow(hot);
      return true;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      buttonDown_ = msg;
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      // Taken or cancelled at the release, so no window beneath gets a release without its press.
      if (buttonDown_ == msg - 1) End(msg == WM_LBUTTONUP);
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Key(static_cast<UINT>(wp), ::GetKeyState(VK_SHIFT) < 0);
      return true;
    case kPickKey:
      Key(static_cast<UINT>(wp), lp != 0);
      return true;
    case WM_MOUSEWHEEL:
      aim_.Wheel(GET_WHEEL_DELTA_WPARAM(wp));
      return true;
    case WM_DISPLAYCHANGE:  // a monitor came or went, or changed its resolution: the copy is stale
      End(false);
      return true;
    case WM_ACTIVATEAPP:  // another program took the front: the keys no longer come here
      if (!wp) ::PostMessageW(windows_.front()->Window(), kFrontTaken, 0, 0);
      return false;
    case kFrontTaken:
      End(false, false);
      return true;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) != SC_CLOSE) return false;
      End(false);
      return true;
    case WM_WTSSESSION_CHANGE:
      if (SessionLeft(wp)) End(false);
      return true;
    default:
      return false;
  }
}

void FrozenPick::Key(UINT virtualKey, bool shift) {
  if (virtualKey == VK_ESCAPE || virtualKey == VK_RETURN) return End(virtualKey == VK_RETURN);
  aim_.Key(virtualKey, shift);
}

void FrozenPick::End(bool taken, bool giveFrontBack) {
  if (ended_) return;
  ended_ = true;
  hooks_.reset();  // the keys are the system's again
  const COLORREF colour = ColourNow();
  aim_.Unmagnify();
  if (giveFrontBack && foregroundBefore_ && ::IsWindow(foregroundBefore_)) ::SetForegroundWindow(foregroundBefore_);
  for (const auto& window : windows_) ::ShowWindow(window->Window(), SW_HIDE);
  if (taken) picker_.TakeColour(colour);
  // The windows whose message may have ended the pick go once that message is done.
  ::PostMessageW(picker_.Window(), kPickEnded, 0, 0);
}

COLORREF FrozenPick::ColourNow() const {
  if (std::optional<COLORREF> shown = aim_.Colour()) return *shown;
  PhysicalPixelScope physical;
  return copy_->At(aim_.HotSpot());
}
