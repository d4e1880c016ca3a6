// A pick on the frozen screen, from the hotkey or the tray menu: the screen as it was, copied
// once, shown over every monitor. Its windows take the focus, so the pointer and the wheel come
// to them without any hook; the keys come through a keyboard hook too, to the front frozen
// window, so where the system kept the focus elsewhere Escape and Enter still end it.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "picking/aim.h"
#include "picking/frozen_screen.h"
#include "picking/input_hooks.h"
#include "picking/screen_read.h"

class Picker;

// Posted to the main window when a frozen pick has ended.
inline constexpr UINT kPickEnded = WM_APP + 0x12F;

class FrozenPick : private Aim::Owner {
 public:
  // The screen as it is now, frozen over every monitor; nothing, after one beep, where the
  // screen cannot be copied or shown. Its end gives the front back to `frontAfter`, or where
  // none is named, to the window in front as it starts.
  static std::unique_ptr<FrozenPick> Start(Picker& picker, int& squareSide, HWND frontAfter);
  FrozenPick(const FrozenPick&) = delete;
  FrozenPick& operator=(const FrozenPick&) = delete;
  ~FrozenPick();

  // A frozen pick ends: taken, the colour under the hot spot goes to the fields, the clipboard
  // and the recent colours; cancelled, nothing changes. Either way the window that was in front
  // before it is in front again, before the frozen windows hide: hidden first, the active one
  // would hand the front to a window the system picks, and ours might then be refused. Where
  // another program took the front, it keeps it.
  void End(bool taken, bool giveFrontBack = true);
  // Taken or cancelled, it shows nothing more; the picker lets it go once no message of its
  // windows is under way.
  bool Ended() const { return ended_; }

 private:
  FrozenPick(Picker& picker, int& squareSide, std::unique_ptr<ScreenCopy> copy, std::unique_ptr<InputHooks> hooks,
             HWND foregroundBefore);
  bool Show();
  bool OnInput(UINT msg, WPARAM wp, LPARAM lp);
  void Key(UINT virtualKey, bool shift);
  COLORREF ColourNow() const;
  void OnStepped(POINT to) override { aim_.Follow(to); }
  void OnResized() override {}

  Picker& picker_;
  std::unique_ptr<ScreenCopy> copy_;
  std::vector<std::unique_ptr<FrozenWindow>> windows_;
  Aim aim_;  // its magnifier is owned by a frozen window: it goes first
  std::unique_ptr<InputHooks> hooks_;
  HWND foregroundBefore_;
  UINT buttonDown_ = 0;  // the press whose release takes or cancels
  bool ended_ = false;
};
