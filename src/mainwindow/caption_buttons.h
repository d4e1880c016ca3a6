// The drawn close and minimise buttons: each shows its normal, hover or pressed picture, and acts
// on its release. The hover tracking puts the normal pictures back once the pointer has left.
#pragma once
#include <windows.h>

#include "controls/form.h"

class CaptionButtons {
 public:
  // A button's three pictures, kept in images of their own off the visible area.
  struct Looks {
    Image& normal;
    Image& hover;
    Image& pressed;
  };
  struct Controls {
    Image& close;
    Looks closeLooks;
    Image& minimise;
    Looks minimiseLooks;
    EventTarget& swatch;  // moving over it shows both buttons normal
  };
  CaptionButtons(Form& window, Controls controls);
  CaptionButtons(const CaptionButtons&) = delete;
  CaptionButtons& operator=(const CaptionButtons&) = delete;

  // Both buttons show their normal pictures.
  void ShowNormal();
  bool ShowingNormal() const;
  Form& Window() const { return window_; }

 private:
  // One button: its looks under the pointer and what its release does.
  class Button : public PointerHandler {
   public:
    Button(CaptionButtons& buttons, Image& image, Looks looks, Image& other, Looks otherLooks, void (*act)(Form&))
        : buttons_(buttons), image_(image), looks_(looks), other_(other), otherLooks_(otherLooks), act_(act) {}
    bool ShowingNormal() const { return image_.Picture() == looks_.normal.Picture(); }
    void ShowNormal() { image_.SetPicture(looks_.normal.Picture()); }

   private:
    void OnPress(MouseButton button, POINT at) override;
    void OnMove(MouseButton held, POINT at) override;
    void OnRelease(MouseButton button, POINT at) override;
    CaptionButtons& buttons_;
    Image& image_;
    Looks looks_;
    Image& other_;
    Looks otherLooks_;
    void (*act_)(Form&);
  };
  class Surface : public PointerHandler {
   public:
    explicit Surface(CaptionButtons& buttons) : buttons_(buttons) {}

   private:
    void OnMove(MouseButton, POINT) override { buttons_.ShowNormal(); }
    CaptionButtons& buttons_;
  };

  Form& window_;
  Button close_, minimise_;
  Surface swatch_;
};
