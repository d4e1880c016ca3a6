#include "support/shell_windows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "support/huevik_process.h"

namespace {

struct Windows {
  const wchar_t* cls;
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Windows*>(param);
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (::IsWindowVisible(window) && std::wstring(cls) == search->cls &&
      (!search->process || ProcessOf(window) == search->process))
    search->found.push_back(window);
  return TRUE;
}


}  // namespace

std::vector<HWND> VisibleTopWindows(const wchar_t* cls, DWORD process) {
  Windows search{cls, process, {}};
  ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND VisibleTopWindow(const wchar_t* cls, DWORD process, const wchar_t* title) {
  for (HWND window : VisibleTopWindows(cls, process))
    if (!title || ReadWindowText(window) == title) return window;
  return nullptr;
}

DWORD ProcessOf(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner;
}

namespace wine_tray {

HWND Window() {
  std::vector<HWND> trays = VisibleTopWindows(L"__winex11_standalone_tray");
  return trays.empty() ? nullptr : trays.front();
}

std::vector<HWND> Icons() {
  std::vector<HWND> icons;
  if (HWND tray = Window())
    for (HWND icon = ::FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); icon;
         icon = ::FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr))
      if (::IsWindowVisible(icon)) icons.push_back(icon);
  return icons;
}

}  // namespace wine_tray

std::wstring ShownTip(DWORD shellProcess, bool balloon) {
  for (HWND tip : VisibleTopWindows(TOOLTIPS_CLASSW, shellProcess)) {
    const bool isBalloon = (::GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) != 0;
    std::wstring text = ReadWindowText(tip);
    if (isBalloon == balloon && !text.empty()) return text;
  }
  return {};
}

std::wstring HoverTip(POINT at, DWORD shellProcess, void (*moveTo)(int x, int y)) {
  moveTo(at.x - 3, at.y);
  moveTo(at.x, at.y);
  std::wstring text;
  PumpUntil([&] { return !(text = ShownTip(shellProcess, false)).empty(); }, 3000);
  moveTo(640, 700);  // over nothing of interest
  PumpUntil([&] { return ShownTip(shellProcess, false).empty(); }, 2000);
  return text;
}

std::wstring BalloonWithin(DWORD shellProcess, DWORD ms) {
  std::wstring text;
  PumpUntil([&] { return !(text = ShownTip(shellProcess, true)).empty(); }, ms);
  return text;
}

void ClickIcon(HWND icon, DWORD down, DWORD up) {
  const POINT at = pointer::CentreOf(icon);
  pointer::MoveTo(at.x, at.y);
  pointer::Press(down);
  pointer::Release(up);
}

void Key(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
  Pump(50);
}

void ChooseExitExpectingStatusZero(const HuevikProcess& huevik) {
  Key(VK_UP);  // from no item, the last
  Key(VK_RETURN);
  DWORD exitCode = 99;
  ASSERT_TRUE(huevik.WaitForExit(5000, &exitCode)) << "Exit did not end the program";
  EXPECT_EQ(exitCode, 0u);
}
