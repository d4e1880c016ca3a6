// The palette chart: a click or a drag on it takes its colours into the fields; the marker
// follows the pointer and is held inside the chart during a drag.
#pragma once
#include "colour/colour_fields.h"
#include "controls/container.h"
#include "controls/controls.h"

class PalettePick : public PointerHandler {
 public:
  PalettePick(PictureBox& chart, Shape& marker, ColourFields& fields);
  bool Pressed() const { return pressed_; }

 private:
  void OnPress(MouseButton button, POINT at) override;
  void OnMove(MouseButton held, POINT at) override;
  void OnRelease(MouseButton button, POINT at) override;
  void OnPointerLost() override { pressed_ = false; }
  void MarkAt(TwipsPoint at);
  void Take(POINT at);

  PictureBox& chart_;
  Shape& marker_;
  ColourFields& fields_;
  bool pressed_ = false;
  bool took_ = false;  // the press under way took a colour
};
