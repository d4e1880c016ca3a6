#include "picking/aim.h"

#include <algorithm>

#include "win32/display.h"
#include "win32/this_program.h"

namespace {
// The aim whose keys the hook takes: one pick at a time, on the one GUI thread.
Aim* g_keyedAim = nullptr;
}  // namespace

POINT PointerNow() {
  POINT at{};
  ::GetCursorPos(&at);
  return at;
}

LRESULT CALLBACK AimKeys(int code, WPARAM wp, LPARAM lp) {
  Aim* aim = g_keyedAim;
  if (code == HC_ACTION && aim && (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)) {
    const DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode;
    if (aim->owner_.TakesKey(key)) {
      ::PostMessageW(aim->keyTarget_, kPickKey, key, ::GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0);
      return 1;
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

Aim::~Aim() {
  if (g_keyedAim == this) g_keyedAim = nullptr;
  keyHook_.reset();
}

void Aim::WatchKeys(HWND target) {
  g_keyedAim = this;
  keyTarget_ = target;
  keyHook_.reset(::SetWindowsHookExW(WH_KEYBOARD_LL, AimKeys, ThisProgram::Instance(), 0));
}

void Aim::Magnify(HWND window, PixelSource source, Magnifier::ValueText valueText) {
  if (Magnified()) return;
  // In the pick's own pixels, which its source is read in.
  PhysicalPixelScope physical;
  if (!magnifier_) magnifier_ = std::make_unique<Magnifier>();
  magnifier_->Show(window, PointerNow(), squareSide_, source, std::move(valueText));
}

void Aim::Unmagnify() {
  if (magnifier_) magnifier_->Hide();
}

std::optional<COLORREF> Aim::Follow(POINT hot) { return magnifier_ ? magnifier_->Follow(hot) : std::nullopt; }

std::optional<COLORREF> Aim::Colour() const { return magnifier_ ? magnifier_->Colour() : std::nullopt; }

POINT Aim::HotSpot() const { return magnifier_ ? magnifier_->HotSpot() : PointerNow(); }

bool Aim::IsAimingKey(DWORD virtualKey) {
  return magnifier::ArrowStep(virtualKey, false) || magnifier::SquareKeyRings(virtualKey);
}

void Aim::Key(UINT virtualKey, bool shift) {
  if (!Magnified()) return;
  if (auto rings = magnifier::SquareKeyRings(virtualKey)) return Resize(*rings);
  Step(virtualKey, shift);
}

void Aim::Wheel(int wheelDelta) {
  if (Magnified()) Resize(magnifier_->WheelRings(wheelDelta));
}

// The pointer rests: the new square's mean shows at once, from a new copy at the same hot spot.
void Aim::Resize(int rings) {
  PhysicalPixelScope physical;
  if (!magnifier_->Grow(rings)) return;
  squareSide_ = magnifier_->Side();
  owner_.OnResized();
}

void Aim::Step(UINT virtualKey, bool shift) {
  auto step = magnifier::ArrowStep(virtualKey, shift);
  if (!step) return;
  PhysicalPixelScope physical;
  POINT at = PointerNow();
  if (IsEcho(at)) at = LatestStep();
  POINT to = magnifier::StepWithin(at, *step, VirtualScreenRect());
  steps_[stepCount_++ % steps_.size()] = to;
  ::SetCursorPos(to.x, to.y);
  owner_.OnStepped(to);
}

POINT Aim::LatestStep() const { return steps_[(stepCount_ - 1) % steps_.size()]; }

bool Aim::IsEcho(POINT at) const {
  if (stepCount_ == 0) return false;
  POINT latest = LatestStep();
  if (at.x == latest.x && at.y == latest.y) return false;
  size_t kept = std::min(stepCount_, steps_.size());
  return std::any_of(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(kept),
                     [&](POINT p) { return p.x == at.x && p.y == at.y; });
}
