#include "tray/tray_menu_owner.h"

#include <memory>

#include "colour/recent_colours.h"
#include "mainwindow/main_window.h"
#include "mainwindow/hover_tracking.h"
#include "tray/tray_icon.h"

namespace {
const FormSpec kTrayMenuOwnerLayout{.caption = L"Form2", .clientWidth = 4680, .clientHeight = 3195, .inTaskbar = false};

const wchar_t kFrozenPickItem[] = L"冻结屏幕取色(&F)\tWin+Alt+C";
const wchar_t kFrozenPickItemTaken[] = L"冻结屏幕取色(&F)\tWin+Alt+C 已被其他程序占用";

// Each recent colour as its swatch and its text in the chosen form; the last item clears them.
MenuItem RecentColoursItem(MainWindow& form) {
  MenuItem recent{L"Recent", L"最近的颜色(&R)", nullptr};
  for (COLORREF colour : RecentColours::List())
    recent.items.push_back({L"RecentColour", form.ValueText(colour), [colour] { RunningMainWindow().ShowTakenColour(colour); },
                            {}, true, colour});
  recent.items.push_back({L"RecentLines", L"-", nullptr});
  recent.items.push_back({L"ClearRecent", L"清除列表(&C)", [] { RecentColours::Clear(); }});
  recent.enabled = !RecentColours::List().empty();
  return recent;
}

}  // namespace

TrayMenuOwner::TrayMenuOwner() : Form(kTrayMenuOwnerLayout) { TrayMenuItems = {L"TrayMenu", L"菜单", {}}; }

const Menu& TrayMenuOwner::TrayMenu() {
  MainWindow& form = RunningMainWindow();
  form.RegisterPickHotkey();  // taken at start, perhaps free now
  TrayMenuItems.items = {{L"About", L"关于软件", [this] { ShowAbout(); }},
                   {L"FrozenPick", form.PickHotkeyRegistered ? kFrozenPickItem : kFrozenPickItemTaken,
                    [] { RunningMainWindow().StartFrozenPickSoon(); }},
                   RecentColoursItem(form),
                   {L"Lines", L"-", nullptr},
                   {L"Exit", L"退出", [this] { Exit(); }}};
  return TrayMenuItems;
}

TrayMenuOwner& TheTrayMenuOwner() {
  static std::unique_ptr<TrayMenuOwner> form;
  if (!form) {
    form = std::make_unique<TrayMenuOwner>();
    form->Load();
  }
  return *form;
}

void TrayMenuOwner::ShowAbout() {
  ShowMessageBox(L"感谢您使用 Huevik  \r\n"
         L"Huevik 由 Zentrik 工作室编写\r\n"
         L"问题与建议：huevik@zentrik.example\r\n"
         L"项目主页：https://zentrik.example/huevik",
         MB_ICONINFORMATION | MB_OK, L"关于软件");
}

void TrayMenuOwner::Exit() {
  TrayIcon::RemoveTrayIcon(RunningMainWindow());
  ::KillTimer(nullptr, HoverTracking::HoverTimerId);
  ::PostQuitMessage(1);
  ::TerminateProcess(::GetCurrentProcess(), 0);
  ::ExitProcess(0);  // not reached: the process ends above
}
