// The main window as built from its stored layout: every control in place.
#include <gtest/gtest.h>

#include <string>

#include "support/main_window_fixture.h"

namespace {

struct Expected {
  const wchar_t* name;
  ControlKind kind;
  const wchar_t* container;  // nullptr: the window
  RECT pixels;               // left, top, right, bottom in the container
};

// Whole pixels at 96 dpi; BlueField and BlueLabel stand at 1660 twips, placed at 111.
const Expected kLayout[] = {
    {L"PaletteFrame", ControlKind::Frame, nullptr, {8, 136, 289, 225}},
    {L"PaletteChart", ControlKind::PictureBox, L"PaletteFrame", {8, 16, 275, 81}},
    {L"PaletteMarker", ControlKind::Shape, L"PaletteChart", {144, 24, 153, 33}},
    {L"ColourDialogButton", ControlKind::CommandButton, nullptr, {240, 226, 289, 246}},
    {L"PenFrame", ControlKind::Frame, nullptr, {176, 40, 289, 134}},
    {L"Swatch", ControlKind::PictureBox, L"PenFrame", {8, 16, 105, 89}},
    {L"Pen", ControlKind::Image, L"Swatch", {24, 8, 72, 56}},
    {L"CaptionLooks", ControlKind::Frame, nullptr, {472, 24, 553, 105}},
    {L"MinimisePressedLook", ControlKind::Image, L"CaptionLooks", {8, 48, 34, 66}},
    {L"MinimiseHoverLook", ControlKind::Image, L"CaptionLooks", {8, 32, 34, 50}},
    {L"MinimiseNormalLook", ControlKind::Image, L"CaptionLooks", {8, 16, 34, 34}},
    {L"ClosePressedLook", ControlKind::Image, L"CaptionLooks", {32, 48, 76, 66}},
    {L"CloseHoverLook", ControlKind::Image, L"CaptionLooks", {32, 32, 76, 50}},
    {L"CloseNormalLook", ControlKind::Image, L"CaptionLooks", {32, 16, 76, 34}},
    {L"VbFormOption", ControlKind::OptionButton, nullptr, {8, 225, 81, 245}},
    {L"DecimalFormOption", ControlKind::OptionButton, nullptr, {80, 225, 161, 245}},
    {L"WebFormOption", ControlKind::OptionButton, nullptr, {160, 225, 241, 245}},
    {L"BlueField", ControlKind::TextBox, nullptr, {80, 111, 169, 129}},
    {L"GreenField", ControlKind::TextBox, nullptr, {80, 88, 169, 106}},
    {L"RedField", ControlKind::TextBox, nullptr, {80, 64, 169, 82}},
    {L"PenStore", ControlKind::PictureBox, nullptr, {384, 32, 441, 81}},
    {L"ValueField", ControlKind::TextBox, nullptr, {80, 40, 169, 58}},
    {L"MinimiseButton", ControlKind::Image, nullptr, {232, 0, 258, 18}},
    {L"CloseButton", ControlKind::Image, nullptr, {256, 0, 300, 18}},
    {L"BlueLabel", ControlKind::Label, nullptr, {24, 111, 84, 130}},
    {L"GreenLabel", ControlKind::Label, nullptr, {24, 88, 84, 107}},
    {L"RedLabel", ControlKind::Label, nullptr, {24, 64, 84, 83}},
    {L"Grip", ControlKind::Image, nullptr, {544, 160, 553, 177}},
    {L"ValueLabel", ControlKind::Label, nullptr, {8, 40, 88, 59}},
};

std::string Narrow(const std::wstring& text) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  return out;
}

using LayoutTest = MainWindowTest;

TEST_F(LayoutTest, TwentyNineControlsInCreationOrderWithTheirPlaces) {
  const auto& controls = form().Controls();
  ASSERT_EQ(controls.size(), std::size(kLayout));
  for (size_t i = 0; i < controls.size(); ++i) {
    const Control& control = *controls[i];
    const Expected& expected = kLayout[i];
    SCOPED_TRACE("control " + std::to_string(i + 1) + " " + Narrow(expected.name));
    EXPECT_EQ(control.Name(), expected.name);
    EXPECT_EQ(control.Kind(), expected.kind);
    HWND container = expected.container ? form().FindControl(expected.container).Handle() : form().hWnd();
    EXPECT_EQ(control.Parent().Window(), container);
    RECT r = control.PixelRect();
    EXPECT_EQ(r.left, expected.pixels.left);
    EXPECT_EQ(r.top, expected.pixels.top);
    EXPECT_EQ(r.right, expected.pixels.right);
    EXPECT_EQ(r.bottom, expected.pixels.bottom);
    if (control.Handle()) {
      RECT placed{};
      ::GetWindowRect(control.Handle(), &placed);
      ::MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&placed), 2);
      EXPECT_EQ(placed.left, expected.pixels.left) << "child window placed elsewhere";
      EXPECT_EQ(placed.top, expected.pixels.top) << "child window placed elsewhere";
    }
  }
}

TEST_F(LayoutTest, WindowIsBorderlessWithItsCaptionAndClientSize) {
  HWND window = form().hWnd();
  EXPECT_EQ(ReadWindowText(window), L"Huevik");
  RECT client{}, outer{};
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 263);
  EXPECT_EQ(outer.right - outer.left, 300) << "a border or caption was added";
  EXPECT_EQ(outer.bottom - outer.top, 263);
  EXPECT_EQ(::GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
}

TEST_F(LayoutTest, InitialTextsCaptionsAndChoice) {
  const std::pair<const wchar_t*, const wchar_t*> texts[] = {
      {L"RedField", L"107"},         {L"GreenField", L"173"},       {L"BlueField", L"247"},
      {L"ValueField", L"\x1EHF7AD6B\x1F"}, {L"VbFormOption", L"VB专用值"}, {L"DecimalFormOption", L"通用RGB值"},
      {L"WebFormOption", L"Web(其他)"},  {L"ColourDialogButton", L"调色板"},  {L"PenFrame", L"拖动鼠标进行拾色"},
      {L"CaptionLooks", L"Frame1"},     {L"PaletteFrame", L"调色板（拖动鼠标到色板或点击色板即可取色）"}};
  for (const auto& [name, text] : texts) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_EQ(ReadWindowText(form().FindControl(name).Handle()), text);
  }
  EXPECT_EQ(form().RedLabel.Caption(), L"红色：");
  EXPECT_EQ(form().GreenLabel.Caption(), L"绿色：");
  EXPECT_EQ(form().BlueLabel.Caption(), L"蓝色：");
  EXPECT_EQ(form().ValueLabel.Caption(), L"颜色值：");
  EXPECT_EQ(form().RedLabel.ForeColor(), 0x000000FFu);
  EXPECT_EQ(form().GreenLabel.ForeColor(), 0x00008000u);
  EXPECT_TRUE(form().VbFormOption.Value());
  EXPECT_FALSE(form().DecimalFormOption.Value());
  EXPECT_FALSE(form().WebFormOption.Value());
  EXPECT_EQ(form().Swatch.BackColor(), 0x00F7AD6Bu);
}

TEST_F(LayoutTest, PicturesAreSharedWhereTheLayoutSaysSo) {
  EXPECT_TRUE(form().Pen.Picture());
  EXPECT_EQ(form().MinimiseButton.Picture(), form().MinimiseNormalLook.Picture());
  EXPECT_EQ(form().CloseButton.Picture(), form().CloseNormalLook.Picture());
  EXPECT_EQ(form().ClosePressedLook.Picture(), form().CloseNormalLook.Picture());
  EXPECT_NE(form().CloseHoverLook.Picture(), form().CloseNormalLook.Picture());
  EXPECT_NE(form().MinimiseHoverLook.Picture(), form().MinimiseNormalLook.Picture());
  EXPECT_NE(form().MinimisePressedLook.Picture(), form().MinimiseNormalLook.Picture());
  EXPECT_TRUE(form().PenStore.Picture());
  EXPECT_FALSE(form().Grip.Picture());
}

TEST_F(LayoutTest, ValueFieldsAreReadOnlyButTheirTextCanBeCopied) {
  for (TextBox* box : {&form().RedField, &form().GreenField, &form().BlueField, &form().ValueField}) {
    EXPECT_TRUE(::GetWindowLongPtrW(box->Handle(), GWL_STYLE) & ES_READONLY);
    ::SendMessageW(box->Handle(), EM_SETSEL, 0, -1);
    ::SendMessageW(box->Handle(), WM_CHAR, L'9', 0);  // typing changes nothing
    EXPECT_EQ(ReadWindowText(box->Handle()), box->Text());
    DWORD start = 0, end = 0;
    ::SendMessageW(box->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, box->Text().size()) << "the whole text can be selected for copying";
  }
}

TEST_F(LayoutTest, TabOrderFollowsTheLayout) {
  const wchar_t* const order[] = {L"ValueField", L"PenStore", L"RedField", L"GreenField", L"BlueField", L"WebFormOption",
                                  L"DecimalFormOption", L"VbFormOption", L"CaptionLooks", L"PenFrame", L"ColourDialogButton", L"PaletteFrame"};
  HWND child = ::GetWindow(form().hWnd(), GW_CHILD);
  for (const wchar_t* name : order) {
    SCOPED_TRACE(Narrow(name));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child, form().FindControl(name).Handle());
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
}

}  // namespace
