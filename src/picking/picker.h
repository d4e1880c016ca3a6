// The picks of the main window, one at a time: the pen pressed and dragged, or the screen frozen
// by the hotkey (or the tray menu). It holds the pick under way and the square's size, which
// alone outlives a pick; a pick shows its colour in the fields, and a pick that takes its colour
// puts it on the clipboard and first in the recent colours.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "colour/colour_fields.h"
#include "controls/container.h"
#include "controls/controls.h"
#include "picking/frozen_pick.h"
#include "picking/magnifier_geometry.h"
#include "picking/pen_pick.h"

// The main window's hotkey that freezes the screen: Win+Alt+C.
inline constexpr int kPickHotkeyId = 1;
inline constexpr UINT kPickHotkeyModifiers = MOD_WIN | MOD_ALT, kPickHotkeyKey = 'C';

class Picker : public PointerHandler {
 public:
  struct Controls {
    HWND window;           // the main window: the hotkey's, the clipboard's and the magnifier's owner
    Image& pen;            // pressed and dragged
    PictureBox& penStore;  // holds the pen's picture while the pen is away
    ColourFields& fields;
  };
  explicit Picker(Controls controls);
  ~Picker();
  Picker(const Picker&) = delete;
  Picker& operator=(const Picker&) = delete;

  bool PenDragging() const { return penPick_ != nullptr; }
  const PenPick* PenDrag() const { return penPick_.get(); }
  bool ScreenFrozen() const { return frozenPick_ && !frozenPick_->Ended(); }
  // The side of the square a pick's colour is the mean of, 1 to 9: held from pick to pick.
  int SquareSide() const { return squareSide_; }
  void SetSquareSide(int side) { squareSide_ = side; }
  ColourFields& Fields() const { return controls_.fields; }
  HWND Window() const { return controls_.window; }
  // The window that holds the pointer during a pen drag.
  Container& PenContainer() const { return controls_.pen.Parent(); }

  // The hotkey that freezes the screen, registered at start; false where another program holds
  // it. Registering again is tried where it is not held.
  void RegisterHotkey();
  bool HotkeyRegistered() const { return hotkeyRegistered_; }
  void UnregisterHotkey();
  // The hotkey (or a forged copy of it): starts a frozen pick, or cancels the one that is up. The
  // pick gives the front back to `frontAfter`, or else to the window in front as it starts.
  void StartOrEndFrozenPick(HWND frontAfter = nullptr);
  // From the tray menu: starts a frozen pick once the menu is off the screen; it gives the front
  // back to the window that was in front before the menu.
  void StartFrozenPickSoon(HWND frontBefore);
  // The hotkey, the end of a frozen pick and the tray menu's start of one, whoever sent them.
  // False for any other message.
  bool OnMessage(UINT msg, WPARAM wp);

  // What the magnifier's strip shows for the colour under the hot spot: its value text, and its
  // contrast with the colour the fields showed as the pick began.
  Magnifier::ValueText StripText() const;

  // A colour the user took: shown everywhere, its value text on the clipboard, and first in the
  // recent colours; or (a recent colour chosen again) only shown and copied.
  void TakeColour(COLORREF colour);
  void ShowTakenColour(COLORREF colour);

  // A pen drag as a press on the pen starts it, whatever the pointer's buttons (a left press
  // adds the magnifier to a drag under way); and its end.
  void StartPenDrag(bool magnified);
  void EndPenDrag();

  // The pen drag's moves, samples and Escape, from the pen pick.
  // `at`: where a move the hooks saw goes, in physical pixels; else the pointer as it is read.
  void FollowPen(std::optional<POINT> at = std::nullopt);
  void ShowSample(POINT hot, std::optional<COLORREF> colour);
  void ShowPenColour(POINT hot, std::optional<COLORREF> colour);
  void CancelPenDrag();
  // The pixel at a point of a device context; where the context refuses a pixel read, through a
  // one-pixel copy into the swatch's top-left corner, read back from there.
  COLORREF ReadPixel(HDC source, POINT at);

 private:
  void OnPress(MouseButton button, POINT at) override;
  void OnMove(MouseButton held, POINT at) override;
  void OnRelease(MouseButton button, POINT at) override;
  void OnPointerLost() override { EndPenDrag(); }
  void LetEndedPickGo();

  Controls controls_;
  // One pick at a time: a pen drag or a frozen screen.
  std::unique_ptr<PenPick> penPick_;
  std::unique_ptr<FrozenPick> frozenPick_;
  int squareSide_ = magnifier::kSmallestSquare;
  HWND frontBeforeMenu_ = nullptr;  // for the frozen pick the tray menu starts soon
  bool hotkeyRegistered_ = false;
};
