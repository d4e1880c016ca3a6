// The main window: its stored layout, made from its list of controls (form1_controls.h), its tab
// order, the binding of its controls' events to their handlers, and its message entry.
#include "mainwindow/main_window.h"

#include "mainwindow/bring_back.h"
#include "mainwindow/hover_tracking.h"
#include "mainwindow/palette_picture.h"
#include "resource.h"

namespace {

constexpr COLORREF kSkinBlue = 0x00F7AD6B;
const FontSpec kLabelFont{L"宋体", 14.25f, FW_BOLD, GB2312_CHARSET};

#define MAIN_WINDOW_LAYOUT(Class, control, ...) {.kind = ControlKind::Class, .name = L"" #control, __VA_ARGS__},
const ControlSpec kMainWindowControls[] = {MAIN_WINDOW_CONTROLS(MAIN_WINDOW_LAYOUT)};
#undef MAIN_WINDOW_LAYOUT

const wchar_t* const kMainWindowTabOrder[] = {
    L"ValueField", L"ValueLabel",  L"PenStore", L"RedField",  L"RedLabel",   L"GreenField",   L"GreenLabel",  L"BlueField",   L"BlueLabel",
    L"WebFormOption", L"DecimalFormOption", L"VbFormOption", L"CaptionLooks", L"PenFrame", L"Swatch", L"ColourDialogButton", L"PaletteFrame", L"PaletteChart"};

const FormSpec kMainWindowLayout{.caption = L"Huevik",
                      .clientWidth = 4500,
                      .clientHeight = 3945,
                      .borderless = true,
                      .ownsResolution = true,
                      .picture = IDB_SKIN,
                      .icon = IDI_MOUSE,
                      .controls = kMainWindowControls,
                      .tabOrder = kMainWindowTabOrder};

MainWindow* g_mainWindow = nullptr;

}  // namespace

MainWindow& RunningMainWindow() {
  if (!g_mainWindow) throw FormError("the main window does not exist");
  return *g_mainWindow;
}
bool MainWindowExists() { return g_mainWindow != nullptr; }

#define MAIN_WINDOW_LOOKUP(Class, control, ...) , control(Get<Class>(L"" #control))
MainWindow::MainWindow() : Form(kMainWindowLayout) MAIN_WINDOW_CONTROLS(MAIN_WINDOW_LOOKUP) {
#undef MAIN_WINDOW_LOOKUP
  BindEvents();
  g_mainWindow = this;
}

MainWindow::~MainWindow() {
  CurrentPick.reset();
  ::UnregisterHotKey(hWnd(), kPickHotkeyId);
  if (g_mainWindow == this) g_mainWindow = nullptr;
}

#define HANDLER(method) [this](short b, short s, float x, float y) { method(b, s, x, y); }

void MainWindow::BindEvents() {
  MouseMove = HANDLER(OnSurfaceMove);
  Grip.MouseDown = HANDLER(OnGripPress);
  Grip.MouseMove = HANDLER(OnGripMove);
  CloseButton.MouseDown = HANDLER(OnClosePress);
  CloseButton.MouseMove = HANDLER(OnCloseHover);
  CloseButton.MouseUp = HANDLER(OnCloseRelease);
  MinimiseButton.MouseDown = HANDLER(OnMinimisePress);
  MinimiseButton.MouseMove = HANDLER(OnMinimiseHover);
  MinimiseButton.MouseUp = HANDLER(OnMinimiseRelease);
  Swatch.MouseMove = HANDLER(OnSwatchHover);
  Pen.MouseDown = HANDLER(OnPenPress);
  Pen.MouseMove = HANDLER(OnPenMove);
  Pen.MouseUp = HANDLER(OnPenRelease);
  Pen.CaptureLost = [this] { EndPenDrag(); };
  PaletteChart.MouseDown = HANDLER(OnPalettePress);
  PaletteChart.MouseMove = HANDLER(OnPaletteMove);
  PaletteChart.MouseUp = HANDLER(OnPaletteRelease);
  PaletteChart.CaptureLost = [this] { EndPaletteDrag(); };
  ColourDialogButton.Click = [this] { ChooseWithColourDialog(); };
  ValueField.Change = [this] { RefreshValueField(); };
}

#undef HANDLER

// A second start's request is answered at once; every other message passes the hover tracking,
// which keeps the caption buttons' looks up to date.
LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (RunningCopy::IsBringBackRequest(msg)) return RunningCopy::AnswerBringBack(*this, wp);
  if (IsPickMessage(msg, wp)) {
    RaiseEvent([&] { OnPickMessage(msg); });
    return 0;
  }
  HoverTracking::BeforeMessage(*this, msg);
  const LRESULT result = Form::OnMessage(msg, wp, lp);
  HoverTracking::AfterMessage(*this, msg, lp);
  return result;
}
