// The aiming part of a pick, whichever way the pick came in and wherever its pixels come from:
// the magnifier at the hot spot, the arrows' one-pixel steps (ten with Shift), the square whose
// mean is the colour, grown and shrunk by + and - and the wheel, and the keyboard hook that
// brings those keys to the pick wherever the focus is. The pick it serves answers for what a
// step or a new square means to it, and for which keys are its own.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "picking/magnifier.h"
#include "picking/screen_read.h"
#include "win32/handles.h"

// Posted by the keyboard hook to the window the pick named: wParam the virtual key, lParam
// Shift held.
inline constexpr UINT kPickKey = WM_APP + 0x120;

class Aim {
 public:
  class Owner {
   public:
    // The hook asks, for every key pressed anywhere, whether it is the pick's.
    virtual bool TakesKey(DWORD virtualKey) const = 0;
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
  ~Aim();

  // The keys the owner takes go to `target` as kPickKey, wherever the focus is.
  void WatchKeys(HWND target);
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
  static bool IsAimingKey(DWORD virtualKey);

  bool Stepped() const { return stepCount_ > 0; }
  // Some systems report the pointer at a step's position again, late, after newer steps: such
  // an echo is not the user's hand, and is neither sampled nor stepped from.
  bool IsEcho(POINT at) const;

 private:
  void Resize(int rings);
  void Step(UINT virtualKey, bool shift);
  POINT LatestStep() const;
  friend LRESULT CALLBACK AimKeys(int code, WPARAM wp, LPARAM lp);

  Owner& owner_;
  int& squareSide_;
  std::unique_ptr<Magnifier> magnifier_;
  // Where the latest steps put the pointer, the newest at stepCount_ - 1.
  std::array<POINT, 64> steps_{};
  size_t stepCount_ = 0;
  HWND keyTarget_ = nullptr;
  unique_hook keyHook_;
};

// The pointer, in the pixels of the calling thread's awareness.
POINT PointerNow();
