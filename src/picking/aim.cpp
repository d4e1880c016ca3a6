#include "picking/aim.h"

#include <algorithm>

#include "win32/display.h"

POINT PointerNow() {
  POINT at{};
  ::GetCursorPos(&at);
  return at;
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
