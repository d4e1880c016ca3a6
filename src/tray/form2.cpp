#include "tray/form2.h"

#include <memory>

#include "colour/recent_colours.h"
#include "mainwindow/form1.h"
#include "mainwindow/hover_tracking.h"
#include "tray/tray_icon.h"

namespace {
const FormSpec kForm2{.caption = L"Form2", .clientWidth = 4680, .clientHeight = 3195, .inTaskbar = false};

const wchar_t kFrozenPickItem[] = L"冻结屏幕取色(&F)\tWin+Alt+C";
const wchar_t kFrozenPickItemTaken[] = L"冻结屏幕取色(&F)\tWin+Alt+C 已被其他程序占用";

// Each recent colour as its swatch and its text in the chosen form; the last item clears them.
MenuItem RecentColoursItem(Form1& form) {
  MenuItem recent{L"Recent", L"最近的颜色(&R)", nullptr};
  for (COLORREF colour : RecentColours::List())
    recent.items.push_back({L"RecentColour", form.ValueText(colour), [colour] { MainWindow().ShowTakenColour(colour); },
                            {}, true, colour});
  recent.items.push_back({L"RecentLines", L"-", nullptr});
  recent.items.push_back({L"ClearRecent", L"清除列表(&C)", [] { RecentColours::Clear(); }});
  recent.enabled = !RecentColours::List().empty();
  return recent;
}

}  // namespace

Form2::Form2() : Form(kForm2) { MnuTray = {L"MnuTray", L"菜单", {}}; }

const Menu& Form2::TrayMenu() {
  Form1& form = MainWindow();
  form.RegisterPickHotkey();  // taken at start, perhaps free now
  MnuTray.items = {{L"AboutMe", L"关于软件", [this] { AboutMe_Click(); }},
                   {L"FrozenPick", form.PickHotkeyRegistered ? kFrozenPickItem : kFrozenPickItemTaken,
                    [] { MainWindow().StartFrozenPickSoon(); }},
                   RecentColoursItem(form),
                   {L"Lines", L"-", nullptr},
                   {L"Ends", L"退出", [this] { Ends_Click(); }}};
  return MnuTray;
}

Form2& TheForm2() {
  static std::unique_ptr<Form2> form;
  if (!form) {
    form = std::make_unique<Form2>();
    form->Load();
  }
  return *form;
}

void Form2::AboutMe_Click() {
  MsgBox(L"感谢您使用 Huevik  \r\n"
         L"Huevik 由 Zentrik 工作室编写\r\n"
         L"问题与建议：huevik@zentrik.example\r\n"
         L"项目主页：https://zentrik.example/huevik",
         MB_ICONINFORMATION | MB_OK, L"关于软件");
}

void Form2::Ends_Click() {
  托盘图标::RemoveTrayIcon(MainWindow());
  ::KillTimer(nullptr, 圆角窗体::HoverTimerId);
  ::PostQuitMessage(1);
  ::TerminateProcess(::GetCurrentProcess(), 0);
  ::ExitProcess(0);  // not reached: the process ends above
}
