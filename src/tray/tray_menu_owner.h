// The tray icon's menu, and the hidden form that stands as its owner.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/form.h"

class TrayMenuOwner : public Form {
 public:
  TrayMenuOwner();

 protected:
  // The menu's owner stays for the program's life, whoever asks it to close.
  bool OnCloseRequest() override { return true; }
};

// Created hidden the first time the menu opens, never shown or closed.
TrayMenuOwner& TheTrayMenuOwner();

// What the menu offers, as it stands when it opens.
struct TrayMenuChoices {
  bool hotkeyRegistered;  // else the frozen pick's item says another program holds the shortcut
  struct Recent {
    COLORREF colour;
    std::wstring text;  // in the chosen form, as it reads
  };
  std::vector<Recent> recent;
  std::function<void()> freeze;
  std::function<void(COLORREF)> showRecent;
  std::function<void()> exit;
};
Menu BuildTrayMenu(const TrayMenuChoices& choices);

void ShowAbout();
