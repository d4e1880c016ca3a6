// The main window: its stored layout, made from its list of controls (form1_controls.h), its tab
// order, the binding of its controls' events to their handlers, and its message entry.
#include "mainwindow/form1.h"

#include "mainwindow/bring_back.h"
#include "mainwindow/hover_tracking.h"
#include "mainwindow/palette_picture.h"
#include "resource.h"

namespace {

constexpr COLORREF kSkinBlue = 0x00F7AD6B;
const FontSpec kLabelFont{L"宋体", 14.25f, FW_BOLD, GB2312_CHARSET};

#define FORM1_LAYOUT(Class, control, ...) {.kind = ControlKind::Class, .name = L"" #control, __VA_ARGS__},
const ControlSpec kForm1Controls[] = {FORM1_CONTROLS(FORM1_LAYOUT)};
#undef FORM1_LAYOUT

const wchar_t* const kForm1TabOrder[] = {
    L"txthex", L"Label4",  L"Picture3", L"Text1",  L"Label1",   L"Text2",   L"Label2",  L"Text3",   L"Label3",
    L"Option3", L"Option2", L"Option1", L"Frame1", L"Frame2", L"Picture1", L"Command1", L"Frame3", L"调色板1"};

const FormSpec kForm1{.caption = L"Huevik",
                      .clientWidth = 4500,
                      .clientHeight = 3945,
                      .borderless = true,
                      .ownsResolution = true,
                      .picture = IDB_SKIN,
                      .icon = IDI_MOUSE,
                      .controls = kForm1Controls,
                      .tabOrder = kForm1TabOrder};

Form1* g_mainWindow = nullptr;

}  // namespace

Form1& MainWindow() {
  if (!g_mainWindow) throw FormError("the main window does not exist");
  return *g_mainWindow;
}
bool MainWindowExists() { return g_mainWindow != nullptr; }

#define FORM1_LOOKUP(Class, control, ...) , control(Get<Class>(L"" #control))
Form1::Form1() : Form(kForm1) FORM1_CONTROLS(FORM1_LOOKUP) {
#undef FORM1_LOOKUP
  BindEvents();
  g_mainWindow = this;
}

Form1::~Form1() {
  CurrentPick.reset();
  ::UnregisterHotKey(hWnd(), kPickHotkeyId);
  if (g_mainWindow == this) g_mainWindow = nullptr;
}

#define HANDLER(method) [this](short b, short s, float x, float y) { method(b, s, x, y); }

void Form1::BindEvents() {
  MouseMove = HANDLER(Form_MouseMove);
  Image1.MouseDown = HANDLER(Image1_MouseDown);
  Image1.MouseMove = HANDLER(Image1_MouseMove);
  关闭0.MouseDown = HANDLER(关闭0_MouseDown);
  关闭0.MouseMove = HANDLER(关闭0_MouseMove);
  关闭0.MouseUp = HANDLER(关闭0_MouseUp);
  最小0.MouseDown = HANDLER(最小0_MouseDown);
  最小0.MouseMove = HANDLER(最小0_MouseMove);
  最小0.MouseUp = HANDLER(最小0_MouseUp);
  Picture1.MouseMove = HANDLER(Picture1_MouseMove);
  Picture2.MouseDown = HANDLER(Picture2_MouseDown);
  Picture2.MouseMove = HANDLER(Picture2_MouseMove);
  Picture2.MouseUp = HANDLER(Picture2_MouseUp);
  Picture2.CaptureLost = [this] { EndPenDrag(); };
  调色板1.MouseDown = HANDLER(调色板1_MouseDown);
  调色板1.MouseMove = HANDLER(调色板1_MouseMove);
  调色板1.MouseUp = HANDLER(调色板1_MouseUp);
  调色板1.CaptureLost = [this] { EndPaletteDrag(); };
  Command1.Click = [this] { Command1_Click(); };
  txthex.Change = [this] { txthex_Change(); };
}

#undef HANDLER

// A second start's request is answered at once; every other message passes the hover tracking,
// which keeps the caption buttons' looks up to date.
LRESULT Form1::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (RunningCopy::IsBringBackRequest(msg)) return RunningCopy::AnswerBringBack(*this, wp);
  if (IsPickMessage(msg, wp)) {
    RaiseEvent([&] { OnPickMessage(msg); });
    return 0;
  }
  圆角窗体::BeforeMessage(*this, msg);
  const LRESULT result = Form::OnMessage(msg, wp, lp);
  圆角窗体::AfterMessage(*this, msg, lp);
  return result;
}
