#include "picking/palette_pick.h"

#include "colour/recent_colours.h"
#include "picking/palette_marker.h"
#include "win32/display.h"

PalettePick::PalettePick(PictureBox& chart, Shape& marker, ColourFields& fields)
    : chart_(chart), marker_(marker), fields_(fields) {
  chart_.SetPointerHandler(this);
}

namespace {
// The marker's place is kept as the control table keeps it, in twips of the chart.
TwipsPoint InTwips(POINT at) {
  const float perPixel = Display::TwipsPerPixel();
  return {static_cast<float>(at.x) * perPixel, static_cast<float>(at.y) * perPixel};
}
}  // namespace

void PalettePick::MarkAt(TwipsPoint at) { marker_.SetPlace({at.x - kMarkerOffset, at.y - kMarkerOffset}); }

void PalettePick::OnPress(MouseButton, POINT at) {
  if (!pressed_) took_ = false;
  pressed_ = true;
  MarkAt(InTwips(at));
  Take(at);
}

void PalettePick::OnMove(MouseButton, POINT at) {
  if (!pressed_) return;
  const TwipsPoint twips = InTwips(at);
  MarkAt(twips);
  const TwipsRect chart = chart_.Place(), marker = marker_.Place();
  const float limitX = MarkerLimit(chart.width, marker.width), limitY = MarkerLimit(chart.height, marker.height);
  if (twips.x < 0)
    marker_.SetPlace({kMarkerMargin, marker_.Place().top});
  else if (twips.x <= limitX)
    Take(at);
  else
    marker_.SetPlace({limitX, marker_.Place().top});
  if (twips.y < 0)
    marker_.SetPlace({marker_.Place().left, kMarkerMargin});
  else if (twips.y <= limitY)
    Take(at);
  else
    marker_.SetPlace({marker_.Place().left, limitY});
}

// The release ends a click or a drag: the recent colours keep the colour it took last.
void PalettePick::OnRelease(MouseButton, POINT) {
  const bool took = pressed_ && took_;
  pressed_ = false;
  if (took) RecentColours::Take(fields_.Current());
}

// A point outside the chart shows nothing and takes nothing.
void PalettePick::Take(POINT at) {
  if (std::optional<COLORREF> colour = chart_.ColourAt(at)) {
    took_ = true;
    fields_.Show(*colour);
  }
}
