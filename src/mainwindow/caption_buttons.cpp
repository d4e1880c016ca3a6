#include "mainwindow/caption_buttons.h"

#include "mainwindow/hover_tracking.h"

CaptionButtons::CaptionButtons(Form& window, Controls controls)
    : window_(window),
      close_(*this, controls.close, controls.closeLooks, controls.minimise, controls.minimiseLooks,
             [](Form& form) { form.RequestClose(); }),
      minimise_(*this, controls.minimise, controls.minimiseLooks, controls.close, controls.closeLooks,
                [](Form& form) { form.SetMinimised(true); }),
      swatch_(*this) {
  controls.close.SetPointerHandler(&close_);
  controls.minimise.SetPointerHandler(&minimise_);
  controls.swatch.SetPointerHandler(&swatch_);
}

void CaptionButtons::ShowNormal() {
  close_.ShowNormal();
  minimise_.ShowNormal();
}

bool CaptionButtons::ShowingNormal() const { return close_.ShowingNormal() && minimise_.ShowingNormal(); }

void CaptionButtons::Button::OnPress(MouseButton, POINT) { image_.SetPicture(looks_.pressed.Picture()); }

void CaptionButtons::Button::OnMove(MouseButton, POINT) {
  if (HoverTracking::NotForeground) {
    buttons_.ShowNormal();
    return;
  }
  other_.SetPicture(otherLooks_.normal.Picture());
  image_.SetPicture(looks_.hover.Picture());
}

void CaptionButtons::Button::OnRelease(MouseButton, POINT) {
  image_.SetPicture(looks_.hover.Picture());
  act_(buttons_.Window());
}
