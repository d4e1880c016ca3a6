// The aiming part of a pick, whichever way the pick came in and wherever its pixels come from:
// the magnifier at the hot spot, the arrows' one-pixel steps (ten with Shift), and the square
// whose mean is the colour, grown and shrunk by + and - and the wheel. The pick it serves
// answers for what a step or a new square means to it, and brings it the keys.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "picking/magnifier.h"
#include "picking/screen_read.h"

class Aim {
 public:
  class Owner {
   public:
    // A step put the pointer at `to`; the square changed size at the hot spot.
    virtual void OnStepped(POINT to) = 0;
    virtual void OnResized() = 0;

   protected:
    ~Owner() = default;
  };

  // `squareSide` is the picker's, which alone outlives a pick.
  Aim(Owner& owner, int& squareSide) : owner_(owner), squareSide_(squareSide) {}
  Aim(const Aim&) = delete;
  Aim& operator=(const Aim&) = delete;
  ~Aim() = default;

  // The magnifier at the pointer, above `window`, over `source`.
  void Magnify(HWND window, PixelSource source, Magnifier::ValueText valueText = {});
  void Unmagnify();
  bool Magnified() const { return magnifier_ && magnifier_->Shown(); }
  // The colour at the hot spot, from the magnifier's copy; nothing where none shows.
  std::optional<COLORREF> Follow(POINT hot);
  std::optional<COLORREF> Colour() const;
  POINT HotSpot() const;

  // An arrow steps the pointer, + and - resize the square; only while magnified.
  void Key(UINT virtualKey, bool shift);
  void Wheel(int wheelDelta);

  bool Stepped() const { return stepCount_ > 0; }
  // Some systems report the pointer at a step's position again, late, after newer steps: such
  // an echo is not the user's hand, and is neither sampled nor stepped from.
  bool IsEcho(POINT at) const;

 private:
  void Resize(int rings);
  void Step(UINT virtualKey, bool shift);
  POINT LatestStep() const;

  Owner& owner_;
  int& squareSide_;
  std::unique_ptr<Magnifier> magnifier_;
  // Where the latest steps put the pointer, the newest at stepCount_ - 1.
  std::array<POINT, 64> steps_{};
  size_t stepCount_ = 0;
};

// The pointer, in the pixels of the calling thread's awareness.
POINT PointerNow();
