// The main window: its control table (main_window_controls.h), its tab order, its start, and the
// wiring of its parts.
#include "mainwindow/main_window.h"

#include "colour/colour_dialog.h"
#include "colour/colour_forms.h"
#include "colour/recent_colours.h"
#include "mainwindow/bring_back.h"
#include "mainwindow/hover_tracking.h"
#include "mainwindow/skin_library.h"
#include "picking/palette_picture.h"
#include "resource.h"
#include "settings/window_position.h"
#include "tray/tray_menu_owner.h"
#include "win32/clipboard.h"
#include "win32/display.h"
#include "win32/display_scale.h"

namespace {

constexpr COLORREF kSkinBlue = 0x00F7AD6B;
const FontSpec kLabelFont{L"宋体", 14.25f, FW_BOLD, GB2312_CHARSET};

#define MAIN_WINDOW_LAYOUT(Class, control, ...) {.kind = ControlKind::Class, .name = L"" #control, __VA_ARGS__},
const ControlSpec kMainWindowControls[] = {MAIN_WINDOW_CONTROLS(MAIN_WINDOW_LAYOUT)};
#undef MAIN_WINDOW_LAYOUT

const wchar_t* const kMainWindowTabOrder[] = {
    L"ValueField",   L"ValueLabel",        L"PenStore",      L"RedField",   L"RedLabel",
    L"GreenField",   L"GreenLabel",        L"BlueField",     L"BlueLabel",  L"WebFormOption",
    L"DecimalFormOption", L"VbFormOption", L"CaptionLooks",  L"PenFrame",   L"Swatch",
    L"ColourDialogButton", L"PaletteFrame", L"PaletteChart"};

const FormSpec kMainWindowLayout{.caption = L"Huevik",
                                 .clientWidth = 4500,
                                 .clientHeight = 3945,
                                 .borderless = true,
                                 .ownsResolution = true,
                                 .picture = IDB_SKIN,
                                 .icon = IDI_MOUSE,
                                 .topmost = true,
                                 .seeThroughKey = kSeeThroughKey,
                                 .controls = kMainWindowControls,
                                 .tabOrder = kMainWindowTabOrder};

bool g_mainWindowExists = false;

}  // namespace

bool MainWindowExists() { return g_mainWindowExists; }

#define MAIN_WINDOW_LOOKUP(Class, control, ...) , control(Get<Class>(L"" #control))
MainWindow::MainWindow()
    : Form(kMainWindowLayout) MAIN_WINDOW_CONTROLS(MAIN_WINDOW_LOOKUP),
      fields_({RedField, GreenField, BlueField, ValueField, Swatch, VbFormOption, DecimalFormOption}),
      picker_({Window(), Pen, PenStore, fields_}),
      palette_(PaletteChart, PaletteMarker, fields_),
      buttons_(*this, {CloseButton,
                       {CloseNormalLook, CloseHoverLook, ClosePressedLook},
                       MinimiseButton,
                       {MinimiseNormalLook, MinimiseHoverLook, MinimisePressedLook},
                       Swatch}),
      frame_(*this, Grip, buttons_) {
#undef MAIN_WINDOW_LOOKUP
  ColourDialogButton.Click = [this] { ChooseWithColourDialog(); };
  ValueField.ContextMenu = [this](std::optional<POINT> at) { ShowCopyAsMenu(at); };
  TrayIcon::SetOwner(this);
  g_mainWindowExists = true;
}

MainWindow::~MainWindow() {
  HoverTracking::Stop();
  TrayIcon::SetOwner(nullptr);
  g_mainWindowExists = false;
}

// The start, in this order. A step that fails (a system call refused, no skin library) leaves
// that step undone and the start goes on.
void MainWindow::OnLoad() {
  HWND window = Window();
  HoverTracking::UpdateHoverRect(window);
  if (std::optional<std::string> skin = SkinLibrary::SkinPath()) SkinLibrary::AttachEx(*skin, "");
  SkinLibrary::SetAero(0);
  ::SetWindowLongPtrW(window, GWL_STYLE, ::GetWindowLongPtrW(window, GWL_STYLE) | WS_MINIMIZEBOX | WS_SYSMENU);
  HoverTracking::Start(buttons_);
  TrayIcon::PutInTray(*this);
  SavedPosition::RestoreWindowPos(*this);
  RecentColours::Load();
  picker_.RegisterHotkey();
}

void MainWindow::OnActivate() { frame_.ApplyRoundRegion(); }

// Laid out again at another resolution: a region and a hover rectangle of the new size.
void MainWindow::OnRescaled() {
  frame_.ApplyRoundRegion();
  HoverTracking::UpdateHoverRect(Window());
}

bool MainWindow::OnCloseRequest() {
  TrayIcon::HideToTray(*this);
  return true;
}

void MainWindow::BringBack() {
  if (!Minimised()) return;
  SetMinimised(false);
  Show();
}

void MainWindow::ChooseWithColourDialog() {
  std::optional<COLORREF> chosen = ColourDialog::OpenColourDialog(Window());
  if (!chosen) return;
  fields_.ShowComponents(*chosen);
  fields_.RefreshValueField();
  fields_.RefreshSwatch();
  RecentColours::Take(fields_.Current());
}

// One pick at a time: a palette drag keeps the hotkey from starting one. With the tray menu
// open, the hotkey does what the menu's own item does: the menu closes, and the screen beneath
// freezes once the menu is off it.
bool MainWindow::HotkeyStartsAPickNow() {
  if (palette_.Pressed()) return false;
  if (!MenuOpen()) return true;
  ::EndMenu();
  picker_.StartFrozenPickSoon(frontBeforeMenu_);
  return false;
}

void MainWindow::ShowCopyAsMenu(std::optional<POINT> at) {
  if (!at) {
    RECT field{};
    ::GetWindowRect(ValueField.Handle(), &field);
    at = POINT{field.left, field.bottom};
  }
  const COLORREF colour = fields_.Current();
  Menu menu{L"CopyAs", L"", {}};
  for (const ColourForm& form : ColourForms()) {
    std::wstring text = form.text(colour);
    menu.items.push_back({form.name, MenuText(text), [this, text] { CopyTextToClipboard(Window(), text); }});
  }
  PopupMenu(std::move(menu), at);
}

void MainWindow::OnTrayRightClick(HWND frontBefore) {
  frontBeforeMenu_ = frontBefore;
  TheTrayMenuOwner();
  picker_.RegisterHotkey();  // taken at start, perhaps free now
  TrayMenuChoices choices{picker_.HotkeyRegistered(), {}, [this, frontBefore] { picker_.StartFrozenPickSoon(frontBefore); },
                          [this](COLORREF colour) { picker_.ShowTakenColour(colour); }, [this] { Exit(); }};
  for (COLORREF colour : RecentColours::List()) choices.recent.push_back({colour, fields_.ValueText(colour)});
  PopupMenu(BuildTrayMenu(choices));
}

void MainWindow::Exit() {
  TrayIcon::RemoveTrayIcon(*this);
  HoverTracking::Stop();
  ::PostQuitMessage(1);
  ::TerminateProcess(::GetCurrentProcess(), 0);
  ::ExitProcess(0);  // not reached: the process ends above
}

// A second start's request is answered at once; the picks take theirs; every other message
// passes the hover tracking, which keeps the caption buttons' looks up to date.
LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (RunningCopy::IsBringBackRequest(msg)) return RunningCopy::AnswerBringBack(*this, wp);
  if (msg == WM_HOTKEY && wp == kPickHotkeyId && !HotkeyStartsAPickNow()) return 0;
  if (picker_.OnMessage(msg, wp)) return 0;
  HoverTracking::BeforeMessage(msg);
  const LRESULT result = Form::OnMessage(msg, wp, lp);
  HoverTracking::AfterMessage(msg, lp);
  return result;
}
