// The magnifier beside the hot spot while a pick is under way: the pixels around it,
// enlarged, the square the pick's colour is the mean of outlined in the middle. Its
// one copy per move also gives the pick that mean, so the value and the outlined
// square are the same pixels. It copies from the screen, or from a frozen copy of it,
// and shows a text under its pixels (the value, and its contrast), which is its window's text too. It never takes focus, never
// answers a hit test, never stands over the largest square and is kept out of screen
// captures where the system can, so neither the pick nor its own next picture ever
// reads it.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "picking/magnifier_geometry.h"
#include "picking/screen_read.h"
#include "win32/base_window.h"
#include "win32/handles.h"

class Magnifier : public BaseWindow {
 public:
  // The text shown under the pixels for the colour they give.
  using ValueText = std::function<std::wstring(COLORREF)>;

  Magnifier() = default;
  ~Magnifier() override;

  // Shows the magnifier at the hot spot, above owner, with a square of `side` pixels, copied
  // from `source` (which outlives the showing) at each move. Where a value text is given, it
  // shows under the pixels.
  void Show(HWND owner, POINT hot, int side, PixelSource source, ValueText valueText = {});
  // Moves it with the hot spot and shows what lies there now. Gives the colour shown
  // in its middle; nothing while hidden, or where the screen there could not be read.
  std::optional<COLORREF> Follow(POINT hot);
  void Hide();
  bool Shown() const { return shown_; }

  // The square's side, 1 to 9 pixels.
  int Side() const { return side_; }
  // While shown, grows the square by rings (shrinks it where negative) and copies
  // again at the same hot spot. False where nothing changed.
  bool Grow(int rings);
  // The rings a wheel turn grows the square by, counted in whole notches over the pick.
  int WheelRings(int wheelDelta) { return magnifier::WheelNotches(wheelRest_, wheelDelta); }
  // The latest copy's hot spot and the colour it gave.
  POINT HotSpot() const { return shownAt_; }
  std::optional<COLORREF> Colour() const { return colour_; }

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& area) override;
  void Create(HWND owner);
  // Measures it for the monitor at the hot spot: its pixels in proportion to the resolution,
  // and the value's strip in the message font there, as wide as `textWidth` needs.
  bool Measure(POINT hot, int textWidth = 0);
  bool MakeCanvases();
  void Capture(POINT hot);
  void DrawValueText();
  int TextWidth(const std::wstring& text) const;
  HGDIOBJ StripFont() const;
  void FollowName();

  bool shown_ = false;
  POINT shownAt_{};
  RECT place_{};
  int dpi_ = 0;  // of the monitor it was measured for
  magnifier::Scale scale_;
  SIZE size_{};          // the whole window: the pixels, and under them the strip
  SIZE windowSize_{};    // as the window was last sized
  int stripHeight_ = 0;  // none without a value text
  int widestText_ = 0;   // the widest value text yet, at this resolution
  std::wstring shownText_;
  bool stripDrawn_ = false;  // on the canvas as it is
  std::wstring namedText_;   // the window's text, which follows the strip's
  bool nameFollowing_ = false;  // its timer runs
  unique_font font_;     // the strip's
  std::optional<COLORREF> colour_;  // of the latest copy
  int side_ = magnifier::kSmallestSquare;
  int wheelRest_ = 0;
  PixelSource source_;
  ValueText valueText_;
  window_dc own_;  // held while shown: taken once, not at each move
  std::vector<RECT> monitors_;  // taken once per pick: monitors do not change under it
  unique_bitmap sourceBitmap_, pictureBitmap_;
  unique_mem_dc sourceDc_, pictureDc_;  // destroyed before the bitmaps they hold
  magnifier::Pixel* sourceBits_ = nullptr;
  magnifier::Pixel* pictureBits_ = nullptr;
};
