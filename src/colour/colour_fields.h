// The current colour as the main window shows it: the red, green and blue fields, which hold
// it as decimal text, the swatch, and the value field in the form the option buttons choose.
#pragma once
#include <windows.h>

#include <string>

#include "controls/container.h"
#include "controls/controls.h"

class ColourFields {
 public:
  struct Controls {
    TextBox& red;
    TextBox& green;
    TextBox& blue;
    TextBox& value;
    PictureBox& swatch;
    OptionButton& vbForm;
    OptionButton& decimalForm;
  };
  explicit ColourFields(Controls controls);
  ColourFields(const ColourFields&) = delete;
  ColourFields& operator=(const ColourFields&) = delete;

  // Shows a colour in the component fields, the swatch and the value field; a value that is no
  // colour shows nothing.
  void Show(COLORREF colour);
  // Writes a colour into the component fields alone, as a pen move does first.
  void ShowComponents(COLORREF colour);
  // The swatch and the value field from the component fields.
  void RefreshSwatch();
  void RefreshValueField();
  // The current colour, packed from the component fields.
  COLORREF Current() const;
  // A colour's text in the form the option buttons choose, read from them at each use.
  std::wstring ValueText(COLORREF colour) const;

  // What the fields, the value field and the swatch show now, to show again.
  struct Shown {
    std::wstring red, green, blue, value;
    COLORREF swatch = 0;
  };
  Shown Snapshot() const;
  // Shows exactly that again, the value field's text whatever form it was in.
  void Restore(const Shown& shown);

  PictureBox& Swatch() const { return controls_.swatch; }
  TextBox& ValueField() const { return controls_.value; }

 private:
  Controls controls_;
};
