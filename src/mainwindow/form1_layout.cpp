// The main window's stored layout (twips, 15 to the pixel at 96 dpi) and the
// binding of its controls' events to their handlers.
#include "mainwindow/form1.h"

#include "resource.h"

namespace {

constexpr COLORREF kSkinBlue = 0x00F7AD6B;
const FontSpec kLabelFont{L"宋体", 14.25f, FW_BOLD, GB2312_CHARSET};

const ControlSpec kForm1Controls[] = {
    {.kind = ControlKind::Frame, .name = L"Frame3", .place = {120, 2040, 4215, 1335},
     .text = L"调色板（拖动鼠标到色板或点击色板即可取色）"},
    {.kind = ControlKind::PictureBox, .name = L"调色板1", .container = L"Frame3", .place = {120, 240, 4005, 975},
     .picture = IDB_PALETTE, .backColor = SystemColor(COLOR_WINDOW), .foreColor = SystemColor(COLOR_WINDOWTEXT)},
    {.kind = ControlKind::Shape, .name = L"Shape1", .container = L"调色板1", .place = {2160, 360, 135, 135},
     .foreColor = 0x00000000},
    {.kind = ControlKind::CommandButton, .name = L"Command1", .place = {3600, 3390, 735, 300}, .text = L"调色板"},
    {.kind = ControlKind::Frame, .name = L"Frame2", .place = {2640, 600, 1695, 1410}, .text = L"拖动鼠标进行拾色"},
    {.kind = ControlKind::PictureBox, .name = L"Picture1", .container = L"Frame2", .place = {120, 240, 1455, 1095},
     .backColor = kSkinBlue, .foreColor = SystemColor(COLOR_WINDOWTEXT)},
    {.kind = ControlKind::Image, .name = L"Picture2", .container = L"Picture1", .place = {360, 120, 720, 720},
     .picture = IDI_MOUSE, .mouseIcon = IDI_MOUSE},
    {.kind = ControlKind::Frame, .name = L"Frame1", .place = {7080, 360, 1215, 1215}, .text = L"Frame1"},
    {.kind = ControlKind::Image, .name = L"最小3", .container = L"Frame1", .place = {120, 720, 390, 270},
     .picture = IDB_MIN_PRESSED},
    {.kind = ControlKind::Image, .name = L"最小2", .container = L"Frame1", .place = {120, 480, 390, 270},
     .picture = IDB_MIN_HOVER},
    {.kind = ControlKind::Image, .name = L"最小1", .container = L"Frame1", .place = {120, 240, 390, 270},
     .picture = IDB_MIN_NORMAL},
    {.kind = ControlKind::Image, .name = L"关闭3", .container = L"Frame1", .place = {480, 720, 660, 270},
     .picture = IDB_CLOSE_NORMAL},
    {.kind = ControlKind::Image, .name = L"关闭2", .container = L"Frame1", .place = {480, 480, 660, 270},
     .picture = IDB_CLOSE_HOVER},
    {.kind = ControlKind::Image, .name = L"关闭1", .container = L"Frame1", .place = {480, 240, 660, 270},
     .picture = IDB_CLOSE_NORMAL},
    {.kind = ControlKind::OptionButton, .name = L"Option1", .place = {120, 3375, 1095, 300}, .text = L"VB专用值",
     .chosen = true},
    {.kind = ControlKind::OptionButton, .name = L"Option2", .place = {1200, 3375, 1215, 300}, .text = L"通用RGB值"},
    {.kind = ControlKind::OptionButton, .name = L"Option3", .place = {2400, 3375, 1215, 300}, .text = L"Web(其他)"},
    {.kind = ControlKind::TextBox, .name = L"Text3", .place = {1200, 1660, 1335, 270}, .text = L"247", .locked = true},
    {.kind = ControlKind::TextBox, .name = L"Text2", .place = {1200, 1320, 1335, 270}, .text = L"173", .locked = true},
    {.kind = ControlKind::TextBox, .name = L"Text1", .place = {1200, 960, 1335, 270}, .text = L"107", .locked = true},
    {.kind = ControlKind::PictureBox, .name = L"Picture3", .place = {5760, 480, 855, 735}, .picture = IDI_MOUSE},
    {.kind = ControlKind::TextBox, .name = L"txthex", .place = {1200, 600, 1335, 270}, .text = L"\x1EHF7AD6B\x1F",
     .locked = true},
    {.kind = ControlKind::Image, .name = L"最小0", .place = {3480, 0, 390, 270}, .picture = IDB_MIN_NORMAL,
     .toolTip = L"最小化"},
    {.kind = ControlKind::Image, .name = L"关闭0", .place = {3840, 0, 660, 270}, .picture = IDB_CLOSE_NORMAL,
     .toolTip = L"关闭软件"},
    {.kind = ControlKind::Label, .name = L"Label3", .place = {360, 1660, 900, 285}, .text = L"蓝色：",
     .foreColor = SystemColor(COLOR_HIGHLIGHT), .font = kLabelFont},
    {.kind = ControlKind::Label, .name = L"Label2", .place = {360, 1320, 900, 285}, .text = L"绿色：",
     .foreColor = 0x00008000, .font = kLabelFont},
    {.kind = ControlKind::Label, .name = L"Label1", .place = {360, 960, 900, 285}, .text = L"红色：",
     .foreColor = 0x000000FF, .font = kLabelFont},
    {.kind = ControlKind::Image, .name = L"Image1", .place = {8160, 2400, 135, 255}},
    {.kind = ControlKind::Label, .name = L"Label4", .place = {120, 600, 1200, 285}, .text = L"颜色值：",
     .font = kLabelFont},
};

const wchar_t* const kForm1TabOrder[] = {
    L"txthex", L"Label4",  L"Picture3", L"Text1",  L"Label1",   L"Text2",   L"Label2",  L"Text3",   L"Label3",
    L"Option3", L"Option2", L"Option1", L"Frame1", L"Frame2", L"Picture1", L"Command1", L"Frame3", L"调色板1"};

const FormSpec kForm1{.caption = L"Huevik",
                      .clientWidth = 4500,
                      .clientHeight = 3945,
                      .borderless = true,
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

Form1::Form1()
    : Form(kForm1),
      Frame3(Get<Frame>(L"Frame3")),
      调色板1(Get<PictureBox>(L"调色板1")),
      Shape1(Get<Shape>(L"Shape1")),
      Command1(Get<CommandButton>(L"Command1")),
      Frame2(Get<Frame>(L"Frame2")),
      Picture1(Get<PictureBox>(L"Picture1")),
      Picture2(Get<Image>(L"Picture2")),
      Frame1(Get<Frame>(L"Frame1")),
      最小3(Get<Image>(L"最小3")),
      最小2(Get<Image>(L"最小2")),
      最小1(Get<Image>(L"最小1")),
      关闭3(Get<Image>(L"关闭3")),
      关闭2(Get<Image>(L"关闭2")),
      关闭1(Get<Image>(L"关闭1")),
      Option1(Get<OptionButton>(L"Option1")),
      Option2(Get<OptionButton>(L"Option2")),
      Option3(Get<OptionButton>(L"Option3")),
      Text3(Get<TextBox>(L"Text3")),
      Text2(Get<TextBox>(L"Text2")),
      Text1(Get<TextBox>(L"Text1")),
      Picture3(Get<PictureBox>(L"Picture3")),
      txthex(Get<TextBox>(L"txthex")),
      最小0(Get<Image>(L"最小0")),
      关闭0(Get<Image>(L"关闭0")),
      Label3(Get<Label>(L"Label3")),
      Label2(Get<Label>(L"Label2")),
      Label1(Get<Label>(L"Label1")),
      Image1(Get<Image>(L"Image1")),
      Label4(Get<Label>(L"Label4")) {
  BindEvents();
  g_mainWindow = this;
}

Form1::~Form1() {
  EndPrecisionPicking();
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
  调色板1.MouseDown = HANDLER(调色板1_MouseDown);
  调色板1.MouseMove = HANDLER(调色板1_MouseMove);
  调色板1.MouseUp = HANDLER(调色板1_MouseUp);
  Command1.Click = [this] { Command1_Click(); };
  txthex.Change = [this] { txthex_Change(); };
}

#undef HANDLER
