// The hidden form that owns the tray icon's menu.
#pragma once
#include "formlayer/form.h"

class Form2 : public Form {
 public:
  Form2();
  Menu MnuTray;

  // The menu as it stands now: the shortcut's state and the recent colours change it.
  const Menu& TrayMenu();
  void AboutMe_Click();
  [[noreturn]] void Ends_Click();

 protected:
  // The menu's owner stays for the program's life, whoever asks it to close.
  void Form_Unload(short& cancel) override { cancel = 1; }
};

// Created hidden the first time its menu is used, never shown or unloaded.
Form2& TheForm2();
