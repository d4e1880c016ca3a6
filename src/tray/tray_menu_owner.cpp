#include "tray/tray_menu_owner.h"

#include <memory>

#include "colour/recent_colours.h"

namespace {
const FormSpec kTrayMenuOwnerLayout{
    .caption = L"Form2", .clientWidth = 4680, .clientHeight = 3195, .inTaskbar = false};

const wchar_t kFrozenPickItem[] = L"冻结屏幕取色(&F)\tWin+Alt+C";
const wchar_t kFrozenPickItemTaken[] = L"冻结屏幕取色(&F)\tWin+Alt+C 已被其他程序占用";

// Each recent colour as its swatch and its text; the last item clears them.
MenuItem RecentColoursItem(const TrayMenuChoices& choices) {
  MenuItem recent{L"Recent", L"最近的颜色(&R)", nullptr};
  for (const TrayMenuChoices::Recent& entry : choices.recent) {
    const COLORREF colour = entry.colour;
    recent.items.push_back({L"RecentColour", MenuText(entry.text),
                            [show = choices.showRecent, colour] { show(colour); }, {}, true, colour});
  }
  recent.items.push_back({L"RecentLines", L"-", nullptr});
  recent.items.push_back({L"ClearRecent", L"清除列表(&C)", [] { RecentColours::Clear(); }});
  recent.enabled = !choices.recent.empty();
  return recent;
}

}  // namespace

TrayMenuOwner::TrayMenuOwner() : Form(kTrayMenuOwnerLayout) {}

TrayMenuOwner& TheTrayMenuOwner() {
  static std::unique_ptr<TrayMenuOwner> form;
  if (!form) {
    form = std::make_unique<TrayMenuOwner>();
    form->Load();
  }
  return *form;
}

Menu BuildTrayMenu(const TrayMenuChoices& choices) {
  return {L"TrayMenu",
          L"菜单",
          {{L"About", L"关于软件", [] { ShowAbout(); }},
           {L"FrozenPick", choices.hotkeyRegistered ? kFrozenPickItem : kFrozenPickItemTaken, choices.freeze},
           RecentColoursItem(choices),
           {L"Lines", L"-", nullptr},
           {L"Exit", L"退出", choices.exit}}};
}

void ShowAbout() {
  ::MessageBoxW(::GetActiveWindow(),
                L"感谢您使用 Huevik  \r\n"
                L"Huevik 由 Zentrik 工作室编写\r\n"
                L"问题与建议：huevik@zentrik.example\r\n"
                L"项目主页：https://zentrik.example/huevik",
                L"关于软件", MB_ICONINFORMATION | MB_OK);
}
