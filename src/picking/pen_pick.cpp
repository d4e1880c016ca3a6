// The mouse hook sees the release in its order among the keys: a key pressed after it is no
// longer the drag's, even while the release itself still waits in the queue behind the posted
// keys. Moving the pointer from the program ends the platform's own hold on it on some systems,
// so from the first step on the mouse hook brings the moves and the release to the container
// too. Whatever arrives after the drag ended does nothing.
#include "picking/pen_pick.h"

#include "picking/picker.h"
#include "win32/display.h"
#include "win32/this_program.h"

namespace {

enum : UINT {
  kPenMoved = kPickKey + 1,
  kPenReleased,
  kPenWheel,  // wParam: the wheel's delta
};

// The drag under way, for the mouse hook: one at a time, on the one GUI thread.
PenPick* g_penPick = nullptr;

}  // namespace

LRESULT CALLBACK PenPointer(int code, WPARAM wp, LPARAM lp) {
  PenPick* pick = g_penPick;
  if (code != HC_ACTION || !pick) return ::CallNextHookEx(nullptr, code, wp, lp);
  const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
  HWND container = pick->container_.Window();
  switch (wp) {
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (pick->released_) break;
      // The wheel is the drag's: it reaches no window, of this program or another.
      if (wp == WM_MOUSEWHEEL && pick->Magnified())
        ::PostMessageW(container, kPenWheel, static_cast<WPARAM>(static_cast<short>(HIWORD(event->mouseData))), 0);
      return 1;
    case WM_MOUSEMOVE:
      if (pick->aim_.Stepped() && !pick->movePending_)
        pick->movePending_ = ::PostMessageW(container, kPenMoved, 0, 0) != FALSE;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      pick->released_ = true;
      if (wp == WM_LBUTTONUP && pick->aim_.Stepped()) ::PostMessageW(container, kPenReleased, 0, 0);
      break;
    default:
      break;
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

PenPick::PenPick(Picker& picker, int& squareSide)
    : picker_(picker),
      shownBefore_(picker.Fields().Snapshot()),
      aim_(*this, squareSide),
      container_(picker.PenContainer()) {
  {
    PhysicalPixelScope physical;
    pressedAt_ = PointerNow();
  }
  container_.Watch(this);
  aim_.WatchKeys(container_.Window());
  g_penPick = this;
  mouseHook_.reset(::SetWindowsHookExW(WH_MOUSE_LL, PenPointer, ThisProgram::Instance(), 0));
}

void PenPick::Magnify() {
  if (!screen_) screen_.emplace();
  aim_.Magnify(picker_.Window(), screen_->Source());
}

// What is posted to the container after this finds its own procedure, which ignores it.
PenPick::~PenPick() {
  if (g_penPick == this) g_penPick = nullptr;
  mouseHook_.reset();
  container_.Watch(nullptr);
}

void PenPick::Sample() {
  // Physical pixels throughout: the pointer and the screen it is over, on any monitor at any
  // scale, whatever this process was declared as.
  PhysicalPixelScope physical;
  const POINT hot = PointerNow();
  if (hot.x == lastSample_.x && hot.y == lastSample_.y) return;
  lastSample_ = hot;
  if (hot.x != pressedAt_.x || hot.y != pressedAt_.y) aimed_ = true;
  // The screen as shown, not the surface of the window under the pointer: where the desktop is
  // composed, a window drawn by the graphics card holds nothing in its own surface, and a window
  // that lets the pointer through is shown but not found under it. One read per move: the
  // magnifier's copy, when it shows, holds the pixel too.
  picker_.ShowSample(hot, aim_.Follow(hot));
}

bool PenPick::TakesKey(DWORD virtualKey) const {
  return !released_ && (virtualKey == VK_ESCAPE || (aim_.Magnified() && Aim::IsAimingKey(virtualKey)));
}

void PenPick::OnStepped(POINT) { picker_.FollowPen(); }

void PenPick::OnResized() {
  aimed_ = true;
  picker_.ShowPenColour(aim_.HotSpot(), aim_.Colour());
}

// A key may end the pick, and with it this watch: nothing of the pick is touched after it.
bool PenPick::OnWatchedMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND window = container_.Window();
  const bool dragging = ::GetCapture() == window;
  switch (msg) {
    case kPickKey:
      if (!dragging) return true;
      if (wp == VK_ESCAPE) {
        picker_.CancelPenDrag();
        return true;
      }
      aim_.Key(static_cast<UINT>(wp), lp != 0);
      return true;
    case kPenWheel:
      if (dragging) aim_.Wheel(static_cast<short>(wp));
      return true;
    case kPenMoved:
      movePending_ = false;
      if (dragging && !aim_.IsEcho(PointerNow())) picker_.FollowPen();
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
