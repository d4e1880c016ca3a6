// The magnifier beside the pen while it is dragged with the left button: the pixels
// around the hot spot, enlarged, the square the pen's colour is the mean of outlined
// in the middle. Its one copy of the screen per move also gives the pen that mean, so
// the value and the outlined square are the same pixels. It never takes focus, never
// answers a hit test, never stands over the largest square and is kept out of screen
// captures where the system can, so neither the pen nor its own next picture ever
// reads it.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "sampling/magnifier_geometry.h"
#include "win32/base_window.h"
#include "win32/handles.h"

class Magnifier : public BaseWindow {
 public:
  Magnifier() = default;
  ~Magnifier() override;

  // A drag begins: shows the magnifier at the hot spot, above owner.
  void Show(HWND owner, POINT hot);
  // Moves it with the hot spot and shows what lies there now. Gives the colour shown
  // in its middle; nothing while hidden, or where the screen there could not be read.
  std::optional<COLORREF> Follow(POINT hot);
  void Hide();
  bool Shown() const { return shown_; }

  // The square's side, 1 to 9 pixels; it starts at 1 and holds from drag to drag.
  int Side() const { return side_; }
  // While shown, grows the square by rings (shrinks it where negative) and copies the
  // screen again at the same hot spot. False where nothing changed.
  bool Grow(int rings);
  // The rings a wheel turn grows the square by, counted in whole notches over the drag.
  int WheelRings(int wheelDelta) { return magnifier::WheelNotches(wheelRest_, wheelDelta); }
  // The latest copy's hot spot and the colour it gave.
  POINT HotSpot() const { return shownAt_; }
  std::optional<COLORREF> Colour() const { return colour_; }

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& area) override;
  void Create(HWND owner);
  void Capture(POINT hot);

  bool shown_ = false;
  POINT shownAt_{};
  RECT place_{};
  std::optional<COLORREF> colour_;  // of the latest copy
  int side_ = magnifier::kSmallestSquare;
  int wheelRest_ = 0;
  // Held while shown: taken once, not at each move.
  window_dc screen_;
  window_dc own_;
  std::vector<RECT> monitors_;  // taken once per drag: monitors do not change under the pen
  unique_bitmap sourceBitmap_, pictureBitmap_;
  unique_mem_dc sourceDc_, pictureDc_;  // destroyed before the bitmaps they hold
  magnifier::Pixel* sourceBits_ = nullptr;
  magnifier::Pixel* pictureBits_ = nullptr;
};
