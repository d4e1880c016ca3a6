// The main window: its controls, its state and its event handlers. The handlers
// are defined in the folder of the concern they belong to.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "colour/colour_value.h"
#include "formlayer/form.h"
#include "mainwindow/form1_controls.h"
#include "sampling/magnifier.h"

class Form1 : public Form {
 public:
  Form1();
  ~Form1() override;

  // Controls, in creation order.
#define FORM1_MEMBER(Class, control, ...) Class& control;
  FORM1_CONTROLS(FORM1_MEMBER)
#undef FORM1_MEMBER

  // Shows a colour value in the fields, the swatch and the value field.
  void zhuan(std::int32_t colour);
  // The value field's change handler, also run directly to refresh it.
  void txthex_Change();
  // Takes the window's rectangle into the hover tracking.
  void 获取鼠标坐标();
  // Both caption buttons show their normal pictures.
  void PicEn();
  // What a left click on the tray icon does, and a second start asks for.
  void BringBack();
  // While the pen is dragged, with any button: Escape, which ends the drag and shows
  // again what showed before it. With the left button besides: the magnifier, the
  // arrow keys that step the pointer one pixel (ten with Shift) and sample as a move
  // does, and the wheel and + and - that size the square the colour is the mean of.
  void StartPrecisionPicking(bool magnify);
  void EndPrecisionPicking();
  void PenKey(UINT virtualKey, bool shift);
  void PenWheel(int wheelDelta);
  // The pixel at a point of a device context; where the context refuses a pixel read,
  // through a one-pixel copy into the swatch's top-left corner, read back from there.
  COLORREF ReadPixel(HDC source, POINT at);

  // Passes each message by the hover tracking on its way to the form.
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  // State of the pick pen and the palette chart.
  short Picking = kFalse;
  short PalettePressed = kFalse;
  long LastSampleX = 0;
  long LastSampleY = 0;
  Magnifier PenMagnifier;  // beside the pointer during a left-button pen drag
  float Image1GrabX = 0;
  float Image1GrabY = 0;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(short& cancel) override;
  void Form_Rescaled() override;

 private:
  void BindEvents();

  // Colour
  std::int32_t PackRgb(const RgbBytes& components) const;
  void ShowSwatch();
  std::wstring ValueFieldText() const;
  void Command1_Click();

  // Pick pen
  void Picture2_MouseDown(short button, short shift, float x, float y);
  void Picture2_MouseMove(short button, short shift, float x, float y);
  void Picture2_MouseUp(short button, short shift, float x, float y);
  // Ends a pen drag, on its release or when the pointer is taken away before it.
  void EndPenDrag();
  void PickPixel();
  // Writes a sample into the fields; where the magnifier gave none, reads the one pixel.
  void ShowSample(POINT hot, std::optional<COLORREF> colour);
  bool PenDragUnderWay() const;
  void PenStep(UINT virtualKey, bool shift);
  void ResizePenSquare(int rings);
  void CancelPenDrag();

  // What the fields, the value field and the swatch showed as the drag began, before
  // its first sample: Escape shows it again.
  struct ShownColour {
    std::wstring red, green, blue, value;
    COLORREF swatch = 0;
  } ShownBeforeDrag;

  // Palette chart
  void 调色板1_MouseDown(short button, short shift, float x, float y);
  void 调色板1_MouseMove(short button, short shift, float x, float y);
  void 调色板1_MouseUp(short button, short shift, float x, float y);
  void EndPaletteDrag();

  // Tray
  void PutInTray();

  // Window frame
  void ApplyRoundRegion(int cornerWidth, int cornerHeight);
  void DragMoveWindow();
  void Form_MouseMove(short button, short shift, float x, float y);
  void Image1_MouseDown(short button, short shift, float x, float y);
  void Image1_MouseMove(short button, short shift, float x, float y);

  // Caption buttons
  void 关闭0_MouseDown(short button, short shift, float x, float y);
  void 关闭0_MouseMove(short button, short shift, float x, float y);
  void 关闭0_MouseUp(short button, short shift, float x, float y);
  void 最小0_MouseDown(short button, short shift, float x, float y);
  void 最小0_MouseMove(short button, short shift, float x, float y);
  void 最小0_MouseUp(short button, short shift, float x, float y);
  void Picture1_MouseMove(short button, short shift, float x, float y);
};

// The running program's main window (the form runtime's default instance).
Form1& MainWindow();
bool MainWindowExists();
