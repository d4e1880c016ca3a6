// The hidden form that owns the tray icon's menu.
#pragma once
#include "controls/form.h"

class TrayMenuOwner : public Form {
 public:
  TrayMenuOwner();
  Menu TrayMenuItems;

  // The menu as it stands now: the shortcut's state and the recent colours change it.
  const Menu& TrayMenu();
  void ShowAbout();
  [[noreturn]] void Exit();

 protected:
  // The menu's owner stays for the program's life, whoever asks it to close.
  bool OnCloseRequest() override { return true; }
};

// Created hidden the first time its menu is used, never shown or unloaded.
TrayMenuOwner& TheTrayMenuOwner();
