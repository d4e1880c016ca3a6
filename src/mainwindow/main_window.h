// The main window: its controls, its state and its event handlers. The handlers
// are defined in the folder of the concern they belong to.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "colour/colour_value.h"
#include "controls/form.h"
#include "mainwindow/main_window_controls.h"
#include "picking/pick.h"

class MainWindow : public Form {
 public:
  MainWindow();
  ~MainWindow() override;

  // Controls, in creation order.
#define MAIN_WINDOW_MEMBER(Class, control, ...) Class& control;
  MAIN_WINDOW_CONTROLS(MAIN_WINDOW_MEMBER)
#undef MAIN_WINDOW_MEMBER

  // Shows a colour value in the fields, the swatch and the value field.
  void ShowColour(std::int32_t colour);
  // The value field's change handler, also run directly to refresh it.
  void RefreshValueField();
  // Takes the window's rectangle into the hover tracking.
  void UpdateHoverRect();
  // Both caption buttons show their normal pictures.
  void ShowNormalCaptionButtons();
  // What a left click on the tray icon does, and a second start asks for.
  void BringBack();
  // The current colour, packed from the component fields.
  std::int32_t CurrentColour() const;
  // A colour's text in the form the option buttons choose.
  std::wstring ValueText(COLORREF colour) const;
  // A colour the user took: shown everywhere, its value text on the clipboard, and
  // kept first in the recent colours.
  void TakeColour(COLORREF colour);
  // Shown everywhere and its value text on the clipboard, as a pick does.
  void ShowTakenColour(COLORREF colour);

  // The hotkey that freezes the screen for a pick, registered at start; false where another
  // program holds it. Registering again is tried where it is not held.
  void RegisterPickHotkey();
  bool PickHotkeyRegistered = false;
  // The hotkey (or a forged copy of it): starts a frozen pick, or cancels the one that is up.
  void StartOrEndFrozenPick();
  // From the tray menu: starts a frozen pick once the menu is off the screen.
  void StartFrozenPickSoon();

  // The pixel at a point of a device context; where the context refuses a pixel read,
  // through a one-pixel copy into the swatch's top-left corner, read back from there.
  COLORREF ReadPixel(HDC source, POINT at);

  // Passes each message by the hover tracking on its way to the form.
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  // State of the pick pen and the palette chart.
  bool PenDragging = false;
  bool PalettePressed = false;
  long LastSampleX = 0;
  long LastSampleY = 0;
  // The pick under way, a pen drag or a frozen screen; null between picks.
  std::unique_ptr<Pick> CurrentPick;
  // The side of the square a pick's colour is the mean of, 1 to 9: held from pick to pick.
  int PickSquare = magnifier::kSmallestSquare;
  bool PaletteTook = false;  // the palette press under way took a colour
  float GripGrabX = 0;
  float GripGrabY = 0;

 protected:
  void OnLoad() override;
  void OnActivate() override;
  bool OnCloseRequest() override;
  void OnRescaled() override;

 private:
  void BindEvents();
  // The hotkey, the end of a frozen pick and the tray menu's start of one.
  static bool IsPickMessage(UINT msg, WPARAM wp);
  void OnPickMessage(UINT msg);

  // Colour
  std::int32_t PackRgb(const RgbBytes& components) const;
  void ShowSwatch();
  std::wstring ValueFieldText() const;
  void ChooseWithColourDialog();

  // Pick pen
  void OnPenPress(short button, short shift, float x, float y);
  void OnPenMove(short button, short shift, float x, float y);
  void OnPenRelease(short button, short shift, float x, float y);
  // Ends a pen drag, on its release or when the pointer is taken away before it.
  void EndPenDrag();
  void SamplePointer();
  // Writes a sample into the fields; where the magnifier gave none, reads the one pixel.
  void ShowSample(POINT hot, std::optional<COLORREF> colour);
  // The sample, then the swatch and the value field, as a move shows them.
  void ShowPenColour(POINT hot, std::optional<COLORREF> colour);
  // Escape: the drag ends, and what showed before it shows again.
  void CancelPenDrag();
  friend class Pick;

  // Palette chart
  void OnPalettePress(short button, short shift, float x, float y);
  void OnPaletteMove(short button, short shift, float x, float y);
  void OnPaletteRelease(short button, short shift, float x, float y);
  void PaletteTake(std::int32_t colour);
  void EndPaletteDrag();

  // Tray
  void PutInTray();

  // Window frame
  void ApplyRoundRegion(int cornerWidth, int cornerHeight);
  void DragMoveWindow();
  void OnSurfaceMove(short button, short shift, float x, float y);
  void OnGripPress(short button, short shift, float x, float y);
  void OnGripMove(short button, short shift, float x, float y);

  // Caption buttons
  void OnClosePress(short button, short shift, float x, float y);
  void OnCloseHover(short button, short shift, float x, float y);
  void OnCloseRelease(short button, short shift, float x, float y);
  void OnMinimisePress(short button, short shift, float x, float y);
  void OnMinimiseHover(short button, short shift, float x, float y);
  void OnMinimiseRelease(short button, short shift, float x, float y);
  void OnSwatchHover(short button, short shift, float x, float y);
};

// The running program's main window (the form runtime's default instance).
MainWindow& RunningMainWindow();
bool MainWindowExists();
