// The main window: it makes its controls from their table, creates its parts (the colour fields,
// the picks, the palette, the caption buttons, the frame, the tray) and wires them together.
#pragma once
#include <windows.h>

#include "colour/colour_fields.h"
#include "controls/form.h"
#include "mainwindow/caption_buttons.h"
#include "mainwindow/main_window_controls.h"
#include "mainwindow/window_frame.h"
#include "picking/palette_pick.h"
#include "picking/picker.h"
#include "tray/tray_icon.h"

class MainWindow : public Form, private TrayIcon::Owner {
 public:
  MainWindow();
  ~MainWindow() override;

  // Controls, in creation order.
#define MAIN_WINDOW_MEMBER(Class, control, ...) Class& control;
  MAIN_WINDOW_CONTROLS(MAIN_WINDOW_MEMBER)
#undef MAIN_WINDOW_MEMBER

  ColourFields& Fields() { return fields_; }
  Picker& Picks() { return picker_; }
  const PalettePick& Palette() const { return palette_; }
  CaptionButtons& Buttons() { return buttons_; }

  // What a left click on the tray icon does, and a second start asks for: hidden or minimised,
  // the window comes back normal, at its place.
  void BringBack();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnLoad() override;
  void OnActivate() override;
  bool OnCloseRequest() override;
  void OnRescaled() override;

 private:
  void OnTrayLeftClick() override { BringBack(); }
  void OnTrayRightClick(HWND frontBefore) override;
  bool HotkeyStartsAPickNow();
  void OnTaskbarRestarted() override { picker_.RegisterHotkey(); }
  void ChooseWithColourDialog();
  // The value's every form, each item showing the text it copies; at the field where a key asked.
  void ShowCopyAsMenu(std::optional<POINT> at);
  [[noreturn]] void Exit();

  ColourFields fields_;
  Picker picker_;
  PalettePick palette_;
  CaptionButtons buttons_;
  WindowFrame frame_;
  HWND frontBeforeMenu_ = nullptr;  // in front before the tray menu last opened
};

// The running program's main window, while there is one.
bool MainWindowExists();
