// The real program's pick pen, driven from outside by real pointer input: press on
// the pen, drag over windows of this test process, release, read the value field.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/huevik_process.h"
#include "support/patch_window.h"
#include "support/observe.h"
#include "support/pointer.h"
#include "support/shell_windows.h"

namespace {

// Client points of the main window, from its layout: PenFrame stands at (176, 40),
// Swatch at (8, 16) inside it, the 48 x 48 pen Pen at (24, 8) inside that.
constexpr POINT kPenCentre{176 + 8 + 24 + 24, 40 + 16 + 8 + 24};
constexpr POINT kValueField{85, 45};
constexpr POINT kRed{85, 70}, kGreen{85, 93}, kBlue{85, 116};
constexpr POINT kDecimalForm{85, 230}, kWebForm{165, 230};  // DecimalFormOption, WebFormOption

// An earlier copy, an earlier test's too, is not the next one.
void ForgetClipboard() {
  if (!::OpenClipboard(nullptr)) return;
  ::EmptyClipboard();
  ::CloseClipboard();
}

// What one click in a field and Ctrl+C put on the clipboard.
std::wstring CopiedFrom(POINT field) {
  ForgetClipboard();
  pointer::ClickAt(field.x, field.y);
  SendKey('C', VK_CONTROL);
  PumpUntil([] { return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; });
  return ClipboardText();
}

class PickTest : public ::testing::Test {
 protected:
  void SetUp() override { stored::Clear(); }

  POINT OnScreen(const HuevikProcess& huevik, POINT client) {
    ::ClientToScreen(huevik.Window(), &client);
    return client;
  }
  std::wstring TextAt(const HuevikProcess& huevik, POINT client) {
    return ReadWindowText(huevik.ChildAt(client.x, client.y));
  }
  // The program answers in its own time: wait until the value field says it.
  bool ValueBecomes(const HuevikProcess& huevik, const std::wstring& text) {
    return PumpUntil([&] { return TextAt(huevik, kValueField) == text; }, 3000);
  }
};

TEST_F(PickTest, DragOverAnotherProgramsWindowShowsItsColour) {
  HuevikProcess huevik;
  RECT placed{};
  ::GetWindowRect(huevik.Window(), &placed);
  PatchWindow patches({placed.right + 40, placed.top},
                      {0x80C040, 0x030201, 0xFF0000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xF7AD6B, 0x000000});
  // An overlay that lets the pointer through, as on-screen displays do, over the right
  // half of patch 0: the screen shows it, though no window is found under the pointer there.
  PatchWindow overlay(patches.At(0, 1, -20), {0x2060A0}, 19, 40, WS_POPUP,
                      WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT);
  ::SetLayeredWindowAttributes(overlay.hwnd(), 0, 255, LWA_ALPHA);
  overlay.Repaint(0, 0x2060A0);
  Pump(100);
  ASSERT_EQ(::WindowFromPoint(patches.At(0, 10)), patches.hwnd()) << "the overlay does not let the pointer through";
  // A click on the pen, with no move, takes nothing into the recent colours.
  const POINT onPen = OnScreen(huevik, kPenCentre);
  pointer::ClickAt(onPen.x, onPen.y);
  Pump(200);
  EXPECT_EQ(stored::Read(L"Recent"), L"<absent>") << "a click on the pen";
  const struct {
    std::size_t patch;
    const POINT* form;  // the text form's option to click first, if any
    const wchar_t* value;
    const wchar_t *red, *green, *blue;
    int dx = 0;                            // from the patch's centre
    DWORD button = MOUSEEVENTF_LEFTDOWN;  // that drags the pen: with the left one, the magnifier shows
  } kPicks[] = {
      {0, nullptr, L"&H80C040&", L"64", L"192", L"128"},
      {1, nullptr, L"&H30201&", L"1", L"2", L"3"},
      {2, nullptr, L"&HFF0000&", L"0", L"0", L"255"},
      {3, &kWebForm, L"#FFFFFF", L"255", L"255", L"255"},
      {4, nullptr, L"#FF0000", L"255", L"0", L"0"},
      {5, nullptr, L"#00FF00", L"0", L"255", L"0"},
      {2, nullptr, L"#0000FF", L"0", L"0", L"255"},
      {1, nullptr, L"#010203", L"1", L"2", L"3"},
      {6, nullptr, L"#6BADF7", L"107", L"173", L"247"},
      {7, nullptr, L"#000000", L"0", L"0", L"0"},
      {0, nullptr, L"#A06020", L"160", L"96", L"32", 10},
      {0, nullptr, L"#A06020", L"160", L"96", L"32", 10, MOUSEEVENTF_RIGHTDOWN},
      {6, &kDecimalForm, L"16231787", L"107", L"173", L"247"},
  };
  for (const auto& pick : kPicks) {
    std::string where = "pick " + std::to_string(&pick - kPicks) + ", patch " + std::to_string(pick.patch);
    if (pick.form) {
      POINT option = OnScreen(huevik, *pick.form);
      pointer::ClickAt(option.x, option.y);
      Pump(100);
    }
    POINT pen = OnScreen(huevik, kPenCentre);
    pointer::MoveTo(pen.x, pen.y);
    pointer::Press(pick.button);
    Pump(100);
    POINT over = patches.At(pick.patch, pick.dx);
    pointer::MoveTo(over.x, over.y);
    EXPECT_TRUE(ValueBecomes(huevik, pick.value))
        << where << ": value field shows \"" << ::testing::PrintToString(TextAt(huevik, kValueField)) << "\"";
    pointer::Release(pick.button == MOUSEEVENTF_RIGHTDOWN ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Pump(100);
    EXPECT_EQ(TextAt(huevik, kRed), pick.red) << where;
    EXPECT_EQ(TextAt(huevik, kGreen), pick.green) << where;
    EXPECT_EQ(TextAt(huevik, kBlue), pick.blue) << where;
    EXPECT_EQ(TextAt(huevik, kValueField), pick.value) << where << " after the release";
    // One click takes a field's whole text, so a copy takes the whole value.
    EXPECT_EQ(CopiedFrom(OnScreen(huevik, kValueField)), pick.value) << where;
    EXPECT_EQ(CopiedFrom(OnScreen(huevik, kGreen)), pick.green) << where;
  }
  // A right click on the value field opens its forms; the fourth, chosen by keyboard, is copied,
  // and the field keeps its own form.
  ForgetClipboard();
  const POINT value = OnScreen(huevik, kValueField);
  pointer::MoveTo(value.x, value.y);
  pointer::Press(MOUSEEVENTF_RIGHTDOWN);
  pointer::Release(MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([] { return ::FindWindowW(L"#32768", nullptr) != nullptr; })) << "no menu";
  for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) SendKey(key);
  PumpUntil([] { return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; });
  EXPECT_EQ(ClipboardText(), L"rgb(107, 173, 247)") << "the fourth form";
  EXPECT_EQ(TextAt(huevik, kValueField), L"16231787");
  EXPECT_TRUE(huevik.Running());
}

}  // namespace

namespace {

// A fault inside the real handlers (the test build's value field throws once armed) ends the
// program through the fail-fast path: in a pen move that shows a new colour, and in the tray
// menu's recent colour chosen by keyboard.
TEST(HandlerFaults, EndTheProgramThroughTheFailFastPath) {
  enum class Way { PenMove, MenuItem };
  for (Way way : {Way::PenMove, Way::MenuItem}) {
    SCOPED_TRACE(way == Way::PenMove ? "pen move" : "menu item");
    stored::Clear();
    stored::Write(L"Recent", L"#010203");
    HuevikProcess huevik(TestProgramDir() + L"\\faulty");
    RECT placed{};
    ::GetWindowRect(huevik.Window(), &placed);
    PatchWindow patch({placed.right + 40, placed.top}, {0x80C040});
    ::SendMessageW(huevik.Window(), ::RegisterWindowMessageW(L"HuevikTest.ArmFault"), 0, 0);
    if (way == Way::PenMove) {
      POINT pen = kPenCentre;
      ::ClientToScreen(huevik.Window(), &pen);
      pointer::MoveTo(pen.x, pen.y);
      pointer::Press();
      const POINT over = patch.At(0, 10, 10);
      pointer::MoveTo(over.x, over.y);
    } else {
      ::PostMessageW(huevik.Window(), WM_USER + 1, 0, WM_RBUTTONUP);
      ASSERT_TRUE(PumpUntil([&] { return VisibleTopWindow(L"#32768", huevik.Id()) != nullptr; })) << "no menu";
      for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) SendKey(key);
    }
    DWORD status = 99;
    EXPECT_TRUE(huevik.WaitForExit(5000, &status) && status == 0xC0000602) << "ended with " << std::hex << status;
    if (way == Way::PenMove) pointer::Release();
  }
  stored::Clear();
}

}  // namespace
