// A window of the frozen screen: one over each monitor while a pick from the hotkey is up,
// showing its part of the screen copy unchanged, under a crosshair. It takes the pointer and
// the keys in the place of the windows beneath, which so see nothing of the pick, and hands
// them to the pick.
#pragma once
#include <windows.h>

#include <functional>

#include "picking/screen_read.h"
#include "win32/base_window.h"

class FrozenWindow : public BaseWindow {
 public:
  // True where the input was the pick's; the window's own handling runs otherwise.
  using Input = std::function<bool(UINT msg, WPARAM wp, LPARAM lp)>;

  // Made hidden over `monitor` (screen pixels), above every window but the pick's own.
  FrozenWindow(const ScreenCopy& copy, const RECT& monitor, Input input);
  ~FrozenWindow() override;

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& area) override;

  const ScreenCopy& copy_;
  RECT monitor_;
  Input input_;
};
