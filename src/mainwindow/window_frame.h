// The borderless window's frame: the rounded region, dragging by the surface, and the hidden
// image that follows a left-button drag.
#pragma once
#include <windows.h>

#include "controls/form.h"
#include "mainwindow/caption_buttons.h"

class WindowFrame {
 public:
  WindowFrame(Form& window, Image& grip, CaptionButtons& buttons);
  WindowFrame(const WindowFrame&) = delete;
  WindowFrame& operator=(const WindowFrame&) = delete;

  // The region of the window's size, with corners of the width and height given.
  void ApplyRoundRegion(int cornerWidth, int cornerHeight);
  // The region at the current resolution: each activation and each change of resolution.
  void ApplyRoundRegion();

 private:
  // A move over the surface drags the window, while the left button is down.
  class Surface : public PointerHandler {
   public:
    explicit Surface(WindowFrame& frame) : frame_(frame) {}

   private:
    void OnMove(MouseButton held, POINT at) override;
    WindowFrame& frame_;
  };
  class Grip : public PointerHandler {
   public:
    explicit Grip(Image& image) : image_(image) {}

   private:
    void OnPress(MouseButton, POINT at) override { grabbed_ = at; }
    void OnMove(MouseButton held, POINT at) override;
    Image& image_;
    POINT grabbed_{};
  };
  void DragMoveWindow();

  Form& window_;
  CaptionButtons& buttons_;
  Surface surface_;
  Grip grip_;
};
