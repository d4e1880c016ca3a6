#include "picking/pen_pick.h"

#include "picking/picker.h"
#include "win32/display.h"

PenPick::PenPick(Picker& picker, int& squareSide)
    : picker_(picker),
      shownBefore_(picker.Fields().Snapshot()),
      aim_(*this, squareSide),
      container_(picker.PenContainer()),
      hooks_(container_.Window(), container_.Window()) {
  PhysicalPixelScope physical;
  pressedAt_ = PointerNow();
  hooks_.AwaitSet();
  container_.Watch(this);
}

void PenPick::Magnify() {
  if (!screen_) screen_.emplace();
  aim_.Magnify(picker_.Window(), screen_->Source(), picker_.StripText());
  hooks_.takeAiming = aim_.Magnified();
}

// What is posted to the container after this finds its own procedure, which ignores it.
PenPick::~PenPick() { container_.Watch(nullptr); }

void PenPick::Sample(std::optional<POINT> at) {
  // Physical pixels throughout: the pointer and the screen it is over, on any monitor at any
  // scale, whatever this process was declared as.
  PhysicalPixelScope physical;
  const POINT hot = at ? *at : PointerNow();
  if (hot.x == lastSample_.x && hot.y == lastSample_.y) return;
  lastSample_ = hot;
  if (hot.x != pressedAt_.x || hot.y != pressedAt_.y) aimed_ = true;
  // The screen as shown, not the surface of the window under the pointer: where the desktop is
  // composed, a window drawn by the graphics card holds nothing in its own surface, and a window
  // that lets the pointer through is shown but not found under it. One read per move: the
  // magnifier's copy, when it shows, holds the pixel too.
  picker_.ShowSample(hot, aim_.Follow(hot));
}

void PenPick::OnStepped(POINT) { picker_.FollowPen(); }

void PenPick::OnResized() {
  aimed_ = true;
  picker_.ShowPenColour(aim_.HotSpot(), aim_.Colour());
}

// A key may end the pick, and with it this watch: nothing of the pick is touched after it. The
// watch lasts as long as the drag, whatever the system says of the capture meanwhile: on some
// systems a step of the pointer from the program ends the system's hold on it, while our own
// container still holds the drag until the release that the hooks bring.
bool PenPick::OnWatchedMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND window = container_.Window();
  switch (msg) {
    case kPickKey:
      if (wp == VK_ESCAPE) {
        picker_.CancelPenDrag();
        return true;
      }
      aim_.Key(static_cast<UINT>(wp), lp != 0);
      return true;
    case kPenWheel:
      aim_.Wheel(static_cast<short>(wp));
      return true;
    case kPenMoved: {
      hooks_.movePending = false;
      const POINT moved = hooks_.LatestMove();
      if (!aim_.IsEcho(moved)) picker_.FollowPen(moved);
      return true;
    }
    case kPenReleased: {
      // The release went elsewhere: end the drag as the release would have.
      POINT at = PointerNow();
      ::ScreenToClient(window, &at);
      ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      return true;
    }
    default:
      return false;
  }
}
