// MainWindow's controls in creation order, each written once: its class, its name and its stored
// layout (twips, 15 to the pixel at 96 dpi). form1.h makes a member of each and looks it up by the
// same name; form1_layout.cpp makes the layout table. X(Class, name, layout fields...).
#pragma once

#define MAIN_WINDOW_CONTROLS(X) \
  X(Frame, PaletteFrame, .place = {120, 2040, 4215, 1335}, .text = L"调色板（拖动鼠标到色板或点击色板即可取色）") \
  X(PictureBox, PaletteChart, .container = L"PaletteFrame", .place = {120, 240, 4005, 975}, .drawnPicture = DrawPaletteChart, \
    .backColor = SystemColor(COLOR_WINDOW), .foreColor = SystemColor(COLOR_WINDOWTEXT)) \
  X(Shape, PaletteMarker, .container = L"PaletteChart", .place = {2160, 360, 135, 135}, .foreColor = 0x00000000) \
  X(CommandButton, ColourDialogButton, .place = {3600, 3390, 735, 300}, .text = L"调色板") \
  X(Frame, PenFrame, .place = {2640, 600, 1695, 1410}, .text = L"拖动鼠标进行拾色") \
  X(PictureBox, Swatch, .container = L"PenFrame", .place = {120, 240, 1455, 1095}, .backColor = kSkinBlue, \
    .foreColor = SystemColor(COLOR_WINDOWTEXT)) \
  X(Image, Pen, .container = L"Swatch", .place = {360, 120, 720, 720}, .picture = IDI_MOUSE, \
    .mouseIcon = IDI_MOUSE) \
  X(Frame, CaptionLooks, .place = {7080, 360, 1215, 1215}, .text = L"Frame1") \
  X(Image, MinimisePressedLook, .container = L"CaptionLooks", .place = {120, 720, 390, 270}, .picture = IDB_MIN_PRESSED) \
  X(Image, MinimiseHoverLook, .container = L"CaptionLooks", .place = {120, 480, 390, 270}, .picture = IDB_MIN_HOVER) \
  X(Image, MinimiseNormalLook, .container = L"CaptionLooks", .place = {120, 240, 390, 270}, .picture = IDB_MIN_NORMAL) \
  X(Image, ClosePressedLook, .container = L"CaptionLooks", .place = {480, 720, 660, 270}, .picture = IDB_CLOSE_NORMAL) \
  X(Image, CloseHoverLook, .container = L"CaptionLooks", .place = {480, 480, 660, 270}, .picture = IDB_CLOSE_HOVER) \
  X(Image, CloseNormalLook, .container = L"CaptionLooks", .place = {480, 240, 660, 270}, .picture = IDB_CLOSE_NORMAL) \
  X(OptionButton, VbFormOption, .place = {120, 3375, 1095, 300}, .text = L"VB专用值", .chosen = true) \
  X(OptionButton, DecimalFormOption, .place = {1200, 3375, 1215, 300}, .text = L"通用RGB值") \
  X(OptionButton, WebFormOption, .place = {2400, 3375, 1215, 300}, .text = L"Web(其他)") \
  X(TextBox, BlueField, .place = {1200, 1660, 1335, 270}, .text = L"247", .locked = true) \
  X(TextBox, GreenField, .place = {1200, 1320, 1335, 270}, .text = L"173", .locked = true) \
  X(TextBox, RedField, .place = {1200, 960, 1335, 270}, .text = L"107", .locked = true) \
  X(PictureBox, PenStore, .place = {5760, 480, 855, 735}, .picture = IDI_MOUSE) \
  X(TextBox, ValueField, .place = {1200, 600, 1335, 270}, .text = L"\x1EHF7AD6B\x1F", .locked = true) \
  X(Image, MinimiseButton, .place = {3480, 0, 390, 270}, .picture = IDB_MIN_NORMAL, .toolTip = L"最小化") \
  X(Image, CloseButton, .place = {3840, 0, 660, 270}, .picture = IDB_CLOSE_NORMAL, .toolTip = L"关闭软件") \
  X(Label, BlueLabel, .place = {360, 1660, 900, 285}, .text = L"蓝色：", \
    .foreColor = SystemColor(COLOR_HIGHLIGHT), .font = kLabelFont) \
  X(Label, GreenLabel, .place = {360, 1320, 900, 285}, .text = L"绿色：", .foreColor = 0x00008000, \
    .font = kLabelFont) \
  X(Label, RedLabel, .place = {360, 960, 900, 285}, .text = L"红色：", .foreColor = 0x000000FF, \
    .font = kLabelFont) \
  X(Image, Grip, .place = {8160, 2400, 135, 255}) \
  X(Label, ValueLabel, .place = {120, 600, 1200, 285}, .text = L"颜色值：", .font = kLabelFont)
