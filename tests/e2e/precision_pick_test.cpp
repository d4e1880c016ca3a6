// Precision picking in the real program, driven by the display's own pointer and
// keyboard (xdotool): arrow keys while the pen is held, the magnifier seen from
// outside, over one-pixel stripes whose neighbours differ in every component.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/huevik_process.h"
#include "support/observe.h"
#include "support/shell_windows.h"
#include "support/patch_window.h"
#include "support/pointer.h"
#include "win32/clipboard.h"

namespace {

constexpr POINT kPenCentre{176 + 8 + 24 + 24, 40 + 16 + 8 + 24};
constexpr POINT kValueField{85, 45};
constexpr POINT kRed{85, 70}, kGreen{85, 93}, kBlue{85, 116};
constexpr int kStripes = 120, kStripeHeight = 60;

COLORREF StripeColour(int column) {
  return RGB((column * 37) & 0xFF, (column * 91 + 50) & 0xFF, (column * 53 + 100) & 0xFF);
}

std::wstring VbText(COLORREF colour) {
  wchar_t text[16];
  ::swprintf(text, 16, L"&H%lX&", static_cast<unsigned long>(colour));
  return text;
}

// Runs xdotool on the display the program shows on; false where there is none.
bool Xdotool(const std::wstring& arguments) {
  std::wstring command = L"/usr/bin/xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  ::WaitForSingleObject(info.hProcess, 10000);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  Pump(30);
  return true;
}

std::wstring At(POINT p) { return std::to_wstring(p.x) + L" " + std::to_wstring(p.y); }

POINT Cursor() {
  POINT p{};
  ::GetCursorPos(&p);
  return p;
}

COLORREF ScreenPixel(POINT p) {
  HDC screen = ::GetDC(nullptr);
  COLORREF colour = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

// The magnifier of the program, or null while it shows none.
HWND ShownMagnifier(const HuevikProcess& huevik) {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, L"HuevikMagnifier", nullptr); w;
       w = ::FindWindowExW(nullptr, w, L"HuevikMagnifier", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == huevik.Id() && ::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

RECT Place(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

class PrecisionPickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    if (!Xdotool(L"sleep 0")) GTEST_SKIP() << "no xdotool on this display";
    RECT placed = Place(huevik_.Window());
    std::vector<COLORREF> colours;
    for (int x = 0; x < kStripes; ++x) colours.push_back(StripeColour(x));
    stripes_ = std::make_unique<PatchWindow>(POINT{placed.left, placed.bottom + 40}, colours, 1, kStripeHeight);
    Pump(200);
  }

  std::wstring TextAt(POINT client) { return ReadWindowText(huevik_.ChildAt(client.x, client.y)); }
  void PressPen() {
    POINT pen = kPenCentre;
    ::ClientToScreen(huevik_.Window(), &pen);
    Xdotool(L"mousemove " + At(pen));
    Xdotool(L"mousedown 1");
    ASSERT_TRUE(PumpUntil([&] { return ShownMagnifier(huevik_) != nullptr; })) << "no magnifier on the press";
  }
  // Waits for the program to show the colour of the point in all four fields.
  void ExpectFieldsShow(POINT at, const std::string& where) {
    ExpectFieldsShow(StripeColour(at.x - stripes_->At(0).x), where);
  }
  void ExpectFieldsShow(COLORREF colour, const std::string& where) {
    std::wstring value = VbText(colour);
    PumpUntil([&] { return TextAt(kValueField) == value; });
    EXPECT_EQ(TextAt(kValueField), value) << where;
    EXPECT_EQ(TextAt(kRed), std::to_wstring(GetRValue(colour))) << where;
    EXPECT_EQ(TextAt(kGreen), std::to_wstring(GetGValue(colour))) << where;
    EXPECT_EQ(TextAt(kBlue), std::to_wstring(GetBValue(colour))) << where;
  }
  // The magnifier stands clear of the hot spot, whole on the screen, at least 64 x 64.
  void ExpectMagnifierBeside(POINT hot, const std::string& where) {
    HWND magnifier = ShownMagnifier(huevik_);
    ASSERT_NE(magnifier, nullptr) << where;
    RECT r = Place(magnifier);
    EXPECT_GE(r.right - r.left, 64) << where;
    EXPECT_GE(r.bottom - r.top, 64) << where;
    EXPECT_FALSE(::PtInRect(&r, hot)) << where;
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= ::GetSystemMetrics(SM_CXSCREEN) &&
                r.bottom <= ::GetSystemMetrics(SM_CYSCREEN))
        << where << ": at " << r.left << "," << r.top << " to " << r.right << "," << r.bottom;
    EXPECT_NE(::WindowFromPoint(hot), magnifier) << where;
  }
  COLORREF MagnifierMiddle() {
    RECT r = Place(ShownMagnifier(huevik_));
    return ScreenPixel({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

  HuevikProcess huevik_;
  std::unique_ptr<PatchWindow> stripes_;
};

TEST_F(PrecisionPickTest, ArrowKeysStepThePenByPixelsAndTheMagnifierFollows) {
  EXPECT_EQ(ShownMagnifier(huevik_), nullptr) << "a magnifier before any drag";
  PressPen();
  POINT start = stripes_->At(50, 0, 0);
  Xdotool(L"mousemove " + At(start));
  ExpectFieldsShow(start, "at the start");
  COLORREF middleBefore = MagnifierMiddle();
  EXPECT_EQ(middleBefore, StripeColour(50)) << "the magnifier's middle at the start";

  const struct {
    const wchar_t* keys;
    POINT offset;  // from the start, after these keys
  } kSteps[] = {
      {L"Right", {1, 0}}, {L"Right Right Right", {4, 0}}, {L"Left", {3, 0}},
      {L"Down", {3, 1}},  {L"Up Up", {3, -1}},            {L"shift+Right", {13, -1}},
  };
  for (const auto& step : kSteps) {
    std::string where = "after " + ::testing::PrintToString(std::wstring(step.keys));
    Xdotool(std::wstring(L"key --delay 60 ") + step.keys);
    POINT expected{start.x + step.offset.x, start.y + step.offset.y};
    PumpUntil([&] { return Cursor().x == expected.x && Cursor().y == expected.y; });
    EXPECT_EQ(Cursor().x, expected.x) << where;
    EXPECT_EQ(Cursor().y, expected.y) << where;
    ExpectFieldsShow(expected, where);
    ExpectMagnifierBeside(expected, where);
    EXPECT_TRUE(PumpUntil([&] { return MagnifierMiddle() == StripeColour(50 + step.offset.x); }))
        << where << ": the magnifier's middle shows " << std::hex << MagnifierMiddle();
  }

  Xdotool(L"mouseup 1");
  POINT end{start.x + 13, start.y - 1};
  EXPECT_TRUE(PumpUntil([&] { return ShownMagnifier(huevik_) == nullptr; })) << "the magnifier outlives the drag";
  EXPECT_EQ(TextAt(kValueField), VbText(StripeColour(63))) << "the value field after the release";

  Xdotool(L"key Right");
  Pump(300);
  EXPECT_EQ(Cursor().x, end.x) << "Right without a drag moved the pointer";
  EXPECT_EQ(Cursor().y, end.y);
  EXPECT_EQ(TextAt(kValueField), VbText(StripeColour(63))) << "Right without a drag sampled";
  EXPECT_EQ(ShownMagnifier(huevik_), nullptr);
  EXPECT_TRUE(huevik_.Running());
}

TEST_F(PrecisionPickTest, MashedKeysStepOnePixelEachAndNothingRunsOnAfterTheRelease) {
  std::wstring mash = L"key --delay 0";
  for (int i = 0; i < 30; ++i) mash += L" Right";
  PressPen();
  POINT start = stripes_->At(20, 0, 0);
  Xdotool(L"mousemove " + At(start));
  ExpectFieldsShow(start, "at the start");
  Xdotool(mash);
  PumpUntil([&] { return Cursor().x == start.x + 30; });
  EXPECT_EQ(Cursor().x, start.x + 30) << "thirty presses, one pixel each";
  ExpectFieldsShow({start.x + 30, start.y}, "after thirty presses");

  Xdotool(mash);  // and the release right after them
  Xdotool(L"mouseup 1");
  EXPECT_TRUE(PumpUntil([&] { return ShownMagnifier(huevik_) == nullptr; })) << "the magnifier outlives the drag";
  Pump(300);
  POINT settled = Cursor();
  EXPECT_LE(settled.x, start.x + 60) << "a press stepped more than one pixel";
  EXPECT_EQ(settled.y, start.y);
  Pump(500);
  EXPECT_EQ(Cursor().x, settled.x) << "steps ran on after the release";
  EXPECT_EQ(TextAt(kValueField), VbText(StripeColour(20 + settled.x - start.x))) << "the value field at the release";
  EXPECT_TRUE(huevik_.Running());
}

TEST_F(PrecisionPickTest, TheSquareOfTheMeanGrowsShrinksAndHoldsAndEscapeTakesADragBack) {
  const COLORREF a = RGB(255, 0, 100), b = RGB(0, 255, 101);
  const COLORREF seven = RGB(130, 125, 100), nine = RGB(129, 126, 100);  // 25 a and 24 b, 41 a and 40 b
  PatchWindow board({Place(huevik_.Window()).right + 40, 0}, {a});  // a at the hot spot, every other pixel b
  board.Checker(b);
  const struct {
    const wchar_t* input;  // xdotool's; "mousedown" first takes the pointer to the pen and back
    COLORREF shown;
  } kSteps[] = {
      {L"mousedown 1", a},           {L"click 4", RGB(142, 113, 100)},  // 3 pixels a side: 5 a, 4 b
      {L"key plus", RGB(133, 122, 100)},  // 5: 13 a, 12 b
      {L"click --repeat 2 --delay 60 4", nine}, {L"key KP_Add", nine},  // 9, and no further
      {L"mouseup 1", nine},          {L"mousedown 1", nine},            // held for the next drag
      {L"key minus", seven},
      {L"key Escape", nine},         {L"mousemove_relative 1 0 mouseup 1", nine},  // as the drag began
      {L"mousedown 3", a},           {L"click 5 key Escape", nine},     // right: one pixel, no wheel
      {L"mouseup 3", nine},          {L"mousedown 1", seven},           // as the last left drag left it
      {L"click --repeat 5 --delay 60 5", a}, {L"mouseup 1", a},        // back to 1, and no further
  };
  POINT pen = kPenCentre, swatch{190, 60}, field = kValueField;
  ::ClientToScreen(huevik_.Window(), &pen);
  ::ClientToScreen(huevik_.Window(), &swatch);
  ::ClientToScreen(huevik_.Window(), &field);
  Xdotool(L"mousemove " + At(field) + L" click 1");  // the focus in a field, which scrolls by the wheel itself
  for (const auto& step : kSteps) {
    std::wstring input = step.input;
    std::string where = "after " + ::testing::PrintToString(input);
    if (input.starts_with(L"mousedown")) Xdotool(L"mousemove " + At(pen));
    Xdotool(input);
    if (input.starts_with(L"mousedown")) Xdotool(L"mousemove " + At(board.At(0)));
    ExpectFieldsShow(step.shown, where);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(swatch) == step.shown; })) << where << ": the swatch";
    EXPECT_TRUE(!input.ends_with(L"Escape") || !ShownMagnifier(huevik_)) << where << ": the magnifier";
  }
}

TEST_F(PrecisionPickTest, MagnifierStaysOnTheScreenAtEachCorner) {
  PressPen();
  int right = ::GetSystemMetrics(SM_CXSCREEN) - 1, bottom = ::GetSystemMetrics(SM_CYSCREEN) - 1;
  const POINT kCorners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
  for (POINT corner : kCorners) {
    std::string where = "corner " + std::to_string(corner.x) + "," + std::to_string(corner.y);
    Xdotool(L"mousemove " + At(corner));
    PumpUntil([&] {
      HWND m = ShownMagnifier(huevik_);
      RECT r = m ? Place(m) : RECT{};
      return m && std::abs(r.left - corner.x) < 200 && std::abs(r.top - corner.y) < 200;
    });
    ExpectMagnifierBeside(corner, where);
  }
  Xdotool(L"mouseup 1");
  EXPECT_TRUE(PumpUntil([&] { return ShownMagnifier(huevik_) == nullptr; })) << "the magnifier outlives the drag";
}

}  // namespace

namespace {

TEST_F(PrecisionPickTest, TheHotkeyFreezesAHoverLookThatEnterOrAClickTakesAndEscapeOrTheHotkeyDrops) {
  const COLORREF plain = RGB(20, 40, 60), lit = RGB(200, 120, 30);
  PatchWindow link({Place(huevik_.Window()).right + 40, 100}, {plain}, 80, 60);
  link.LightUnderPointer(lit);
  const struct {
    const wchar_t* input;  // xdotool's; nullptr: a WM_HOTKEY posted by another program
    bool taken;
  } kEnds[] = {{L"key Return", true},         {L"key Escape", false}, {L"click 3", false},
               {L"key super+alt+c", false},   {nullptr, false},       {L"click 1", true}};
  for (const auto& end : kEnds) {
    std::string where = end.input ? ::testing::PrintToString(std::wstring(end.input)) : "a forged hotkey";
    link.Unlight();
    Xdotool(L"mousemove " + At(link.At(0, 5, 0)));
    Xdotool(L"mousemove " + At(link.At(0)));
    ASSERT_TRUE(PumpUntil([&] { return link.Lit(); })) << where;
    ::SetForegroundWindow(link.hwnd());
    CopyTextToClipboard(link.hwnd(), L"kept");
    const std::wstring before = TextAt(kValueField);
    Xdotool(L"key super+alt+c");
    ASSERT_TRUE(PumpUntil([&] { return ShownFrozenScreen(huevik_.Id()) != nullptr; })) << where << ": no frozen screen";
    const int moves = link.Moves();
    Xdotool(L"mousemove_relative 5 0");
    Xdotool(L"mousemove_relative -- -5 0");
    EXPECT_EQ(link.Moves(), moves) << where << ": the window beneath still sees the pointer";
    EXPECT_EQ(ScreenPixel(link.At(0, -30, -20)), lit) << where << ": the frozen screen shows it as it was";
    EXPECT_EQ(TextAt(kValueField), before) << where << ": a field changed before the take";
    if (end.input)
      Xdotool(end.input);
    else
      ::PostMessageW(huevik_.Window(), WM_HOTKEY, 1, MAKELPARAM(MOD_WIN | MOD_ALT, 'C'));
    EXPECT_TRUE(PumpUntil([&] { return ShownFrozenScreen(huevik_.Id()) == nullptr; })) << where << ": still frozen";
    if (end.taken) ExpectFieldsShow(lit, where);
    EXPECT_EQ(TextAt(kValueField), end.taken ? VbText(lit) : before) << where;
    EXPECT_EQ(ClipboardText(), end.taken ? VbText(lit) : L"kept") << where << ": the clipboard";
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == link.hwnd(); })) << where << ": not in front again";
  }
  EXPECT_TRUE(huevik_.Running());
}

// Over the colour dialog and the About box, the hotkey's pick works and its take lands; the dialog
// stays, and its Cancel or OK then changes nothing more.
TEST_F(PrecisionPickTest, TheHotkeyPicksOverTheColourDialogAndTheAboutBox) {
  const COLORREF colours[] = {RGB(90, 160, 30), RGB(30, 90, 160)};
  PatchWindow patches({Place(huevik_.Window()).right + 40, 100}, {colours[0], colours[1]}, 80, 60);
  // The About box first: under Wine, the display's keys reached no window of the next case when the
  // About box was the last window in front.
  for (int about : {1, 0}) {
    const std::string where = about ? "over the About box" : "over the colour dialog";
    if (about) {
      ::PostMessageW(huevik_.Window(), WM_USER + 1, 0, WM_RBUTTONUP);
      ASSERT_TRUE(PumpUntil([&] { return VisibleTopWindow(L"#32768", huevik_.Id()) != nullptr; })) << "no menu";
      for (WORD key : {VK_DOWN, VK_RETURN}) SendKey(key);
    } else {
      ::PostMessageW(huevik_.ChildAt(260, 235), BM_CLICK, 0, 0);
    }
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = VisibleTopWindow(L"#32770", huevik_.Id())) != nullptr; })) << where;
    Xdotool(L"mousemove " + At(patches.At(static_cast<size_t>(about))));
    // Held as a hand holds it: the keys go up once the frozen screen is in front.
    Xdotool(L"keydown super+alt+c");
    ASSERT_TRUE(PumpUntil([&] { return ShownFrozenScreen(huevik_.Id()) != nullptr; })) << where << ": not frozen";
    Pump(100);
    Xdotool(L"keyup super+alt+c");
    Xdotool(L"key Return");
    ExpectFieldsShow(colours[about], where);
    EXPECT_TRUE(::IsWindowVisible(dialog)) << where << ": the take's Enter reached the dialog";
    ::PostMessageW(dialog, WM_COMMAND, about ? IDOK : IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dialog); })) << where;
    ExpectFieldsShow(colours[about], where + ", closed");
  }
}

// Started from the tray menu, the pick gives the front back to the window in front before the
// menu, not to Huevik's own; a program that takes the front during a pick ends it and keeps it.
TEST_F(PrecisionPickTest, TheFrontGoesBackToTheWindowBeforeTheMenuAndStaysWithOneThatTookIt) {
  PatchWindow link({Place(huevik_.Window()).right + 40, 100}, {RGB(20, 40, 60)}, 80, 60);
  auto frozen = [&] { return ShownFrozenScreen(huevik_.Id()) != nullptr; };
  ::SetForegroundWindow(link.hwnd());
  ::PostMessageW(huevik_.Window(), WM_USER + 1, 0, WM_RBUTTONUP);
  ASSERT_TRUE(PumpUntil([&] { return VisibleTopWindow(L"#32768", huevik_.Id()) != nullptr; })) << "no menu";
  for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) { SendKey(key); Pump(60); }
  ASSERT_TRUE(PumpUntil(frozen)) << "the menu's item froze nothing";
  Xdotool(L"key Escape");
  EXPECT_TRUE(PumpUntil([&] { return !frozen() && ::GetForegroundWindow() == link.hwnd(); }))
      << "not the window before the menu in front";
  Xdotool(L"key super+alt+c");
  ASSERT_TRUE(PumpUntil([&] { return frozen() && ::GetForegroundWindow() == ShownFrozenScreen(huevik_.Id()); }))
      << "no frozen screen in front";
  PatchWindow other({Place(huevik_.Window()).right + 40, 300}, {RGB(60, 40, 20)}, 80, 60);
  ASSERT_TRUE(::SetForegroundWindow(other.hwnd()));
  EXPECT_TRUE(PumpUntil([&] { return !frozen(); })) << "the pick went on under another program";
  Pump(300);
  // Under Wine with no window manager the front is no window at all once the frozen windows are
  // gone (the display's focus goes with them); what counts is that the pick did not take it back.
  EXPECT_NE(::GetForegroundWindow(), link.hwnd()) << "the front was taken back from the program that took it";
}

TEST_F(PrecisionPickTest, ArrowsAndTheWheelAimAFrozenPick) {
  const COLORREF a = RGB(255, 0, 100), b = RGB(0, 255, 101);
  PatchWindow board({Place(huevik_.Window()).right + 40, 0}, {a});  // a at the hot spot, every other pixel b
  board.Checker(b);
  ::SetForegroundWindow(board.hwnd());
  const POINT start = board.At(0);
  Xdotool(L"mousemove " + At(start));
  Xdotool(L"key super+alt+c");
  ASSERT_TRUE(PumpUntil([&] { return ShownFrozenScreen(huevik_.Id()) != nullptr; })) << "no frozen screen";
  Xdotool(L"key --delay 60 Right shift+Left");  // 9 pixels left: a b pixel under the hot spot
  EXPECT_TRUE(PumpUntil([&] { return Cursor().x == start.x - 9 && Cursor().y == start.y; }))
      << "the pointer at " << Cursor().x - start.x << "," << Cursor().y - start.y << " from the start";
  Xdotool(L"click 4 key plus Return");   // 5 pixels a side: 13 b and 12 a
  ExpectFieldsShow(RGB(122, 133, 101), "the mean of 5 x 5 around a b pixel");
}

}  // namespace
