// A pick with the pen: pressed in the main window and dragged anywhere over the live screen,
// from the press to the release. Keys go to the window with the focus, which during a drag may
// be any control, or a window of another program where the platform routes keys by the
// pointer, and the wheel to the focus or to the window under the pointer. Low-level hooks, set
// only for the drag, take the keys and the wheel wherever they go and post them to the pen's
// container, which holds the pointer and hands them to the pick while it watches there. The
// mouse hook sees the release in its order among the keys: a key pressed after it is no longer
// the drag's, even while the release itself still waits in the queue behind the posted keys.
// Moving the pointer from the program ends the platform's own hold on it on some systems, so
// from the first step on the mouse hook brings the moves and the release to the container too.
// Whatever arrives after the drag ended does nothing.
#pragma once
#include <windows.h>

#include <optional>

#include "colour/colour_fields.h"
#include "controls/container.h"
#include "picking/aim.h"
#include "picking/input_hooks.h"
#include "picking/screen_read.h"

class Picker;

class PenPick : private Aim::Owner, private Container::Watcher {
 public:
  // Any button starts one.
  PenPick(Picker& picker, int& squareSide);
  PenPick(const PenPick&) = delete;
  PenPick& operator=(const PenPick&) = delete;
  ~PenPick();

  // A left-button drag has the magnifier, and with it the arrows and the square.
  void Magnify();
  bool Magnified() const { return aim_.Magnified(); }
  // Reads the pixel under the pointer (or at `at`, in physical pixels) where it moved since the
  // last sample, and shows it.
  void Sample(std::optional<POINT> at = std::nullopt);
  // The pointer left the point of the press, or the square changed: a click alone aims at
  // nothing, and takes nothing.
  bool Aimed() const { return aimed_; }
  // What the fields, the value field and the swatch showed before the pick: a cancelled
  // drag shows it again.
  const ColourFields::Shown& ShownBefore() const { return shownBefore_; }

 private:
  void OnStepped(POINT to) override;
  void OnResized() override;
  // The pen's container takes what the hooks post.
  bool OnWatchedMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  Picker& picker_;
  ColourFields::Shown shownBefore_;
  std::optional<LiveScreen> screen_;  // the magnifier's source: it outlives the aim
  Aim aim_;
  Container& container_;
  InputHooks hooks_;
  // The first sample at the screen's origin is taken for one already made there.
  POINT lastSample_{};
  POINT pressedAt_{};
  bool aimed_ = false;
};
