// One pick, from its start to its end, whichever way it came in: the pen pressed in the main
// window and dragged, or the screen frozen by the hotkey. It owns what a pick needs while it
// lasts: the magnifier, the square the colour is the mean of, the pointer's steps, the keys
// and the wheel, what showed before it, and its hooks or its frozen windows. All of it is set
// up at its start and gone with it; only the square's size outlives it, on the picker.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "picking/frozen_screen.h"
#include "picking/magnifier.h"
#include "picking/screen_read.h"
#include "win32/handles.h"

#include "colour/colour_fields.h"
#include "controls/container.h"

class Picker;

// Posted to the main window when a frozen pick has ended.
inline constexpr UINT kPickEnded = WM_APP + 0x12F;
// The main window's hotkey that freezes the screen: Win+Alt+C.
inline constexpr int kPickHotkeyId = 1;
inline constexpr UINT kPickHotkeyModifiers = MOD_WIN | MOD_ALT, kPickHotkeyKey = 'C';

class Pick : private Container::Watcher {
 public:
  // The pen pressed: the pen's container holds the pointer until the release. For the
  // whole drag the keys and the wheel are the pick's, wherever the focus is.
  static std::unique_ptr<Pick> WithPen(Picker& picker);
  // The hotkey: the screen as it is now, frozen over every monitor. Nothing, after one
  // beep, where the screen cannot be copied.
  static std::unique_ptr<Pick> OnFrozenScreen(Picker& picker);
  Pick(const Pick&) = delete;
  Pick& operator=(const Pick&) = delete;
  ~Pick();

  bool Frozen() const { return copy_ != nullptr; }
  bool Magnified() const { return magnifier_ && magnifier_->Shown(); }
  // A frozen pick that was taken or cancelled shows nothing more; the form lets it go
  // once no message of its windows is under way.
  bool Ended() const { return ended_; }

  // A left-button pen drag: the magnifier at the pointer, and with it the arrows and the square.
  void Magnify();
  // The colour at the hot spot, from the magnifier's copy; nothing where none shows.
  std::optional<COLORREF> Follow(POINT hot);
  // Escape, the arrows, + and -, and Enter on a frozen screen.
  void Key(UINT virtualKey, bool shift);
  void Wheel(int wheelDelta);
  // A frozen pick ends: taken, the colour under the hot spot goes to the form; cancelled,
  // nothing changes. Either way the window that was in front before it is in front again.
  void EndFrozen(bool taken);

  // What the fields, the value field and the swatch showed before the pick: a cancelled
  // pen drag shows it again.
  const ColourFields::Shown& ShownBefore() const { return shownBefore_; }

 private:
  Pick(Picker& picker, std::unique_ptr<ScreenCopy> copy);
  // The pen's container takes what the hooks post.
  bool OnWatchedMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void WatchPen();
  // Escape, the arrows, + and - (and Enter on a frozen screen) go to `target`, wherever the focus is.
  void WatchKeys(HWND target);
  bool ShowFrozen();
  bool FrozenInput(UINT msg, WPARAM wp, LPARAM lp);
  void FollowPointer();
  void Resize(int rings);
  void Step(UINT virtualKey, bool shift);
  COLORREF ColourNow() const;
  bool IsEcho(POINT at) const;
  POINT LatestStep() const;

  friend LRESULT CALLBACK PickKeys(int code, WPARAM wp, LPARAM lp);
  friend LRESULT CALLBACK PenPointer(int code, WPARAM wp, LPARAM lp);

  Picker& picker_;
  ColourFields::Shown shownBefore_;
  std::unique_ptr<Magnifier> magnifier_;
  // Where this pick's latest steps put the pointer, the newest at stepCount_ - 1.
  std::array<POINT, 64> steps_{};
  size_t stepCount_ = 0;

  HWND keyTarget_ = nullptr;
  unique_hook keyHook_;

  // The pen's way in.
  HWND penContainer_ = nullptr;
  Container* watched_ = nullptr;
  unique_hook mouseHook_;
  bool released_ = false;     // a button went up: the keys that follow are no longer the pick's
  bool movePending_ = false;  // one posted move at a time: each reads the pointer anew

  // The frozen screen's way in.
  std::unique_ptr<ScreenCopy> copy_;
  std::vector<std::unique_ptr<FrozenWindow>> frozen_;
  HWND foregroundBefore_ = nullptr;
  UINT buttonDown_ = 0;  // the press whose release takes or cancels
  bool ended_ = false;
};
