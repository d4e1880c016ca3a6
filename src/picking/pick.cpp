// A pick from either way in. The pen's way: keys go to the window with the focus, which
// during a drag may be any control, or a window of another program where the platform
// routes keys by the pointer, and the wheel to the focus or to the window under the
// pointer. Low-level hooks, set only for the drag, take the keys and the wheel wherever
// they go and post them to the pen's container, which holds the pointer and hands them to
// the pick while it watches there. The mouse hook
// sees the release in its order among the keys: a key pressed after it is no longer the
// drag's, even while the release itself still waits in the queue behind the posted keys.
// Moving the pointer from the program ends the platform's own hold on it on some
// systems, so from the first step on the mouse hook brings the moves and the release
// to the container too. Whatever arrives after the drag ended does nothing. Those
// systems may also report the pointer at a step's position again, late, after newer
// steps: such an echo is not the user's hand, and is neither sampled nor stepped from.
//
// The frozen screen's way: its windows cover every monitor and take the focus, so the
// pointer and the wheel come to them without any hook. The keys come through the same
// keyboard hook, to the front frozen window: where the system kept the focus elsewhere,
// Escape and Enter still end the pick.
#include "picking/pick.h"

#include <wtsapi32.h>

#include <algorithm>

#include "picking/picker.h"
#include "win32/this_program.h"
#include "win32/display.h"
#include "win32/library_search.h"

namespace {

enum : UINT {
  kPickKey = WM_APP + 0x120,  // wParam: virtual key, lParam: Shift held
  kPenMoved,
  kPenReleased,
  kPenWheel,  // wParam: the wheel's delta
};

// The pick under way, for the hooks: one at a time, on the one GUI thread.
Pick* g_hookedPick = nullptr;

POINT PointerNow() {
  POINT at{};
  ::GetCursorPos(&at);
  return at;
}


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

LRESULT CALLBACK PickKeys(int code, WPARAM wp, LPARAM lp) {
  Pick* pick = g_hookedPick;
  if (code == HC_ACTION && pick && !pick->released_ && !pick->ended_ && (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)) {
    DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode;
    bool precise = magnifier::ArrowStep(key, false) || magnifier::SquareKeyRings(key);
    if (key == VK_ESCAPE || (key == VK_RETURN && pick->Frozen()) || (pick->Magnified() && precise)) {
      ::PostMessageW(pick->keyTarget_, kPickKey, key, ::GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0);
      return 1;
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK PenPointer(int code, WPARAM wp, LPARAM lp) {
  Pick* pick = g_hookedPick;
  if (code != HC_ACTION || !pick) return ::CallNextHookEx(nullptr, code, wp, lp);
  const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
  switch (wp) {
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (pick->released_) break;
      // The wheel is the drag's: it reaches no window, of this program or another.
      if (wp == WM_MOUSEWHEEL && pick->Magnified())
        ::PostMessageW(pick->penContainer_, kPenWheel,
                       static_cast<WPARAM>(static_cast<short>(HIWORD(event->mouseData))), 0);
      return 1;
    case WM_MOUSEMOVE:
      if (pick->stepCount_ > 0 && !pick->movePending_)
        pick->movePending_ = ::PostMessageW(pick->penContainer_, kPenMoved, 0, 0) != FALSE;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      pick->released_ = true;
      if (wp == WM_LBUTTONUP && pick->stepCount_ > 0) ::PostMessageW(pick->penContainer_, kPenReleased, 0, 0);
      break;
    default:
      break;
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

// A key may end the pick, and with it this watch: nothing of the pick is touched after it.
bool Pick::OnWatchedMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND window = penContainer_;
  const bool dragging = picker_.PenDragging() && ::GetCapture() == window;
  switch (msg) {
    case kPickKey:
      if (dragging) Key(static_cast<UINT>(wp), lp != 0);
      return true;
    case kPenWheel:
      if (dragging) Wheel(static_cast<short>(wp));
      return true;
    case kPenMoved:
      movePending_ = false;
      if (dragging && !IsEcho(PointerNow())) picker_.FollowPen();
      return true;
    case kPenReleased:
      // The release went elsewhere: end the drag as the release would have.
      if (dragging) {
        POINT at = PointerNow();
        ::ScreenToClient(window, &at);
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      }
      return true;
    default:
      return false;
  }
}

Pick::Pick(Picker& picker, std::unique_ptr<ScreenCopy> copy)
    : picker_(picker), shownBefore_(picker.Fields().Snapshot()), copy_(std::move(copy)) {}

std::unique_ptr<Pick> Pick::WithPen(Picker& picker) {
  std::unique_ptr<Pick> pick(new Pick(picker, nullptr));
  pick->WatchPen();
  return pick;
}

void Pick::WatchPen() {
  Container& container = picker_.PenContainer();
  penContainer_ = container.Window();
  container.Watch(this);
  watched_ = &container;
  WatchKeys(penContainer_);
  mouseHook_.reset(::SetWindowsHookExW(WH_MOUSE_LL, PenPointer, ThisProgram::Instance(), 0));
}

void Pick::WatchKeys(HWND target) {
  g_hookedPick = this;
  keyTarget_ = target;
  keyHook_.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, PickKeys, ThisProgram::Instance(), 0));
}

std::unique_ptr<Pick> Pick::OnFrozenScreen(Picker& picker) {
  PhysicalPixelScope physical;
  HWND foreground = ::GetForegroundWindow();
  auto copy = std::make_unique<ScreenCopy>();
  if (copy->Copied()) {
    std::unique_ptr<Pick> pick(new Pick(picker, std::move(copy)));
    pick->foregroundBefore_ = foreground;
    if (pick->ShowFrozen()) return pick;
  }
  ::MessageBeep(MB_OK);
  return nullptr;
}

// What is posted to the container after this finds its own procedure, which ignores it.
Pick::~Pick() {
  if (g_hookedPick == this) g_hookedPick = nullptr;
  keyHook_.reset();
  mouseHook_.reset();
  if (watched_) watched_->Watch(nullptr);
  if (!frozen_.empty())
    if (auto unregister = SessionFunction<UnregisterSessionFn>("WTSUnRegisterSessionNotification"))
      unregister(frozen_.front()->Window());
  magnifier_.reset();  // owned by a frozen window: it goes first
  frozen_.clear();
}

bool Pick::ShowFrozen() {
  for (const RECT& monitor : Monitors()) {
    frozen_.push_back(std::make_unique<FrozenWindow>(
        *copy_, monitor, [this](UINT msg, WPARAM wp, LPARAM lp) { return FrozenInput(msg, wp, lp); }));
    if (!frozen_.back()->Window()) return false;
  }
  if (frozen_.empty()) return false;
  for (const auto& window : frozen_) {
    ::SetWindowPos(window->Window(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(window->Window());
  }
  HWND front = frozen_.front()->Window();
  ::SetForegroundWindow(front);
  ::SetFocus(front);
  if (auto notify = SessionFunction<RegisterSessionFn>("WTSRegisterSessionNotification")) notify(front, NOTIFY_FOR_THIS_SESSION);
  WatchKeys(front);
  magnifier_ = std::make_unique<Magnifier>();
  magnifier_->Show(front, PointerNow(), picker_.SquareSide(), copy_.get(),
                   [this](COLORREF colour) { return picker_.Fields().ValueText(colour); });
  return true;
}

bool Pick::FrozenInput(UINT msg, WPARAM wp, LPARAM lp) {
  if (ended_) return false;
  switch (msg) {
    case WM_MOUSEMOVE:
      FollowPointer();
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      buttonDown_ = msg;
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      // Taken or cancelled at the release, so no window beneath gets a release without its press.
      if (buttonDown_ == msg - 1) EndFrozen(msg == WM_LBUTTONUP);
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Key(static_cast<UINT>(wp), ::GetKeyState(VK_SHIFT) < 0);
      return true;
    case kPickKey:
      Key(static_cast<UINT>(wp), lp != 0);
      return true;
    case WM_MOUSEWHEEL:
      Wheel(GET_WHEEL_DELTA_WPARAM(wp));
      return true;
    case WM_DISPLAYCHANGE:  // a monitor came or went, or changed its resolution: the copy is stale
      EndFrozen(false);
      return true;
    case WM_ACTIVATEAPP:  // another program took the front: the keys no longer come here
      if (!wp) EndFrozen(false);
      return false;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) != SC_CLOSE) return false;
      EndFrozen(false);
      return true;
    case WM_WTSSESSION_CHANGE:
      if (SessionLeft(wp)) EndFrozen(false);
      return true;
    default:
      return false;
  }
}

void Pick::EndFrozen(bool taken) {
  if (ended_ || !Frozen()) return;
  ended_ = true;
  const COLORREF colour = ColourNow();
  if (magnifier_) magnifier_->Hide();
  for (const auto& window : frozen_) ::ShowWindow(window->Window(), SW_HIDE);
  if (taken) picker_.TakeColour(colour);
  if (foregroundBefore_ && ::IsWindow(foregroundBefore_)) ::SetForegroundWindow(foregroundBefore_);
  // The windows whose message may have ended the pick go once that message is done.
  ::PostMessageW(picker_.Window(), kPickEnded, 0, 0);
}

COLORREF Pick::ColourNow() const {
  if (magnifier_ && magnifier_->Colour()) return *magnifier_->Colour();
  PhysicalPixelScope physical;
  return copy_ ? copy_->At(magnifier_ ? magnifier_->HotSpot() : PointerNow()) : 0;
}

void Pick::Magnify() {
  if (Magnified()) return;
  // In the pick's own pixels: the screen the magnifier holds for the drag is read in them.
  PhysicalPixelScope physical;
  if (!magnifier_) magnifier_ = std::make_unique<Magnifier>();
  magnifier_->Show(picker_.Window(), PointerNow(), picker_.SquareSide());
}

std::optional<COLORREF> Pick::Follow(POINT hot) {
  return magnifier_ ? magnifier_->Follow(hot) : std::nullopt;
}

void Pick::FollowPointer() {
  PhysicalPixelScope physical;
  POINT hot = PointerNow();
  if (!IsEcho(hot) && magnifier_) magnifier_->Follow(hot);
}

// Whoever sent the key, it does nothing after the pick ended; and but for Escape,
// nothing without the magnifier.
void Pick::Key(UINT virtualKey, bool shift) {
  if (ended_) return;
  if (virtualKey == VK_ESCAPE) return Frozen() ? EndFrozen(false) : picker_.CancelPenDrag();
  if (virtualKey == VK_RETURN && Frozen()) return EndFrozen(true);
  if (!Magnified()) return;
  if (auto rings = magnifier::SquareKeyRings(virtualKey)) return Resize(*rings);
  Step(virtualKey, shift);
}

void Pick::Wheel(int wheelDelta) {
  if (Magnified() && !ended_) Resize(magnifier_->WheelRings(wheelDelta));
}

// The pointer rests: the new square's mean shows at once, from a new copy at the same hot spot.
void Pick::Resize(int rings) {
  PhysicalPixelScope physical;
  if (!magnifier_->Grow(rings)) return;
  picker_.SetSquareSide(magnifier_->Side());
  if (!Frozen()) picker_.ShowPenColour(magnifier_->HotSpot(), magnifier_->Colour());
}

void Pick::Step(UINT virtualKey, bool shift) {
  auto step = magnifier::ArrowStep(virtualKey, shift);
  if (!step) return;
  PhysicalPixelScope physical;
  POINT at = PointerNow();
  if (IsEcho(at)) at = LatestStep();
  POINT to = magnifier::StepWithin(at, *step, VirtualScreenRect());
  steps_[stepCount_++ % steps_.size()] = to;
  ::SetCursorPos(to.x, to.y);
  if (Frozen())
    magnifier_->Follow(to);
  else
    picker_.FollowPen();
}

POINT Pick::LatestStep() const { return steps_[(stepCount_ - 1) % steps_.size()]; }

bool Pick::IsEcho(POINT at) const {
  if (stepCount_ == 0) return false;
  POINT latest = LatestStep();
  if (at.x == latest.x && at.y == latest.y) return false;
  size_t kept = std::min(stepCount_, steps_.size());
  return std::any_of(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(kept),
                     [&](POINT p) { return p.x == at.x && p.y == at.y; });
}
