// The pick pen on the real main window, driven by real pointer input: press on the
// pen, drag over patches of known colour painted by a window of the test's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "colour/recent_colours.h"
#include "controls/picture.h"
#include "settings/settings_store.h"
#include "support/main_window_fixture.h"
#include "support/patch_window.h"
#include "win32/this_program.h"

namespace {

constexpr COLORREF kPureBlue = 0xFF0000, kNearBlack = 0x030201, kWhite = 0xFFFFFF, kBlack = 0x000000,
                   kMid = 0x80C040;
// A colour no patch, frame or pen pixel has, to tell "unchanged" from "sampled".
constexpr COLORREF kEarlier = 0x123456;

std::wstring Decimal(int v) { return std::to_wstring(v); }

void ExpectFields(MainWindow& form, COLORREF colour, const char* where) {
  EXPECT_EQ(form.RedField.Text(), Decimal(GetRValue(colour))) << where;
  EXPECT_EQ(form.GreenField.Text(), Decimal(GetGValue(colour))) << where;
  EXPECT_EQ(form.BlueField.Text(), Decimal(GetBValue(colour))) << where;
}

// Fields, swatch and value field all show the colour (value field in the "&H...&" form).
void ExpectShown(MainWindow& form, COLORREF colour, const std::wstring& valueText, const char* where) {
  ExpectFields(form, colour, where);
  EXPECT_EQ(form.Swatch.BackColor(), colour) << where;
  EXPECT_EQ(form.ValueField.Text(), valueText) << where;
}

class PenTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    patches_ = std::make_unique<PatchWindow>(POINT{860, 100},
                                             std::vector<COLORREF>{kPureBlue, kNearBlack, kWhite, kBlack, kMid});
    Pump(50);
    RECT form{}, patches{}, overlap{};
    ::GetWindowRect(this->form().hWnd(), &form);
    ::GetWindowRect(patches_->hwnd(), &patches);
    ASSERT_FALSE(::IntersectRect(&overlap, &form, &patches)) << "the patches must lie outside the main window";
  }
  void TearDown() override {
    patches_.reset();
    MainWindowTest::TearDown();
  }

  POINT PenCentre() { return ScreenCentreOf(form().Pen); }
  void PressPen(DWORD downFlag = MOUSEEVENTF_LEFTDOWN) {
    MoveOver(PenCentre());
    pointer::Press(downFlag);
  }
  void MoveOver(POINT p) {
    pointer::MoveTo(p.x, p.y);
    Pump(20);
    POINT now{};
    ::GetCursorPos(&now);
    ASSERT_TRUE(now.x == p.x && now.y == p.y) << "pointer at " << now.x << "," << now.y;
  }
  HCURSOR PenCursor() { return form().PenStore.Picture()->AsCursor(); }
  bool Magnified() { return form().Picks().PenDrag() && form().Picks().PenDrag()->Magnified(); }

  std::unique_ptr<PatchWindow> patches_;
};

TEST_F(PenTest, DragSamplesEveryPatchInTheChosenTextForm) {
  const struct {
    std::size_t patch;
    COLORREF colour;
    const wchar_t* text[3];  // VbFormOption, DecimalFormOption, WebFormOption
  } kVisits[] = {
      {0, kPureBlue, {L"&HFF0000&", L"16711680", L"#0000FF"}},
      {1, kNearBlack, {L"&H30201&", L"197121", L"#010203"}},
      {2, kWhite, {L"&HFFFFFF&", L"16777215", L"#FFFFFF"}},
      {3, kBlack, {L"&H0&", L"0", L"#000000"}},
      {4, kMid, {L"&H80C040&", L"8437824", L"#40C080"}},
      {1, kNearBlack, {L"&H30201&", L"197121", L"#010203"}},  // back again: a fresh sample
  };
  OptionButton* options[] = {&form().VbFormOption, &form().DecimalFormOption, &form().WebFormOption};
  for (int chosen = 0; chosen < 3; ++chosen) {
    options[chosen]->SetValue(true);
    PressPen();
    for (const auto& visit : kVisits) {
      MoveOver(patches_->At(visit.patch));
      std::string where = "option " + std::to_string(chosen + 1) + ", patch " + std::to_string(visit.patch);
      ExpectShown(form(), visit.colour, visit.text[chosen], where.c_str());
    }
    // The magnifier's text is its strip's: the value, then its contrast with the fields as the drag
    // began (the last patch of the drag before, which it ends at too).
    if (chosen == 2) {
      HWND magnifier = ::FindWindowW(L"HuevikMagnifier", nullptr);
      PumpUntil([&] { return WindowText(magnifier) == L"#010203  1.00:1"; });  // it follows within a tick
      EXPECT_EQ(WindowText(magnifier), L"#010203  1.00:1") << "the magnifier's text";
    }
    pointer::Release();
    EXPECT_EQ(form().Picks().PenDragging(), false);
  }
}

// A click aims at nothing: the recent colours and the settings stay as they were.
TEST_F(PenTest, ClickWithoutMoveChangesTheFieldsOnly) {
  const std::vector<COLORREF> recent = RecentColours::List();
  const std::uint64_t writes = SettingsWritesSoFar();
  POINT pen = PenCentre();
  MoveOver(pen);
  Pump(100);
  // The press samples before the pen picture goes, so it reads the pen itself: already the
  // mean over the square, as the magnifier outlines it. The pen here is of one colour with a
  // black pixel at its centre, so the mean over 9 x 9 is 80/81 of that colour.
  std::vector<std::uint32_t> pixels(48 * 48, 0xFF51A2F3);
  pixels[24 * 48 + 24] = 0xFF000000;
  const PictureRef known = Picture::FromPixels({48, 48}, pixels);
  for (const auto& [side, penMean] : {std::pair{1, RGB(0, 0, 0)}, std::pair{9, RGB(80, 160, 240)}}) {
    form().Fields().Show(kEarlier);
    form().Picks().SetSquareSide(side);
    form().Pen.SetPicture(known);
    Pump(50);
    pointer::Press();
    ExpectFields(form(), penMean, side == 1 ? "after the press" : "after the press, 9 x 9");
    pointer::Release();
    ExpectFields(form(), penMean, "after the release");
    EXPECT_EQ(form().Swatch.BackColor(), kEarlier);
    EXPECT_EQ(form().ValueField.Text(), L"&H123456&");
  }
  EXPECT_EQ(RecentColours::List(), recent);
  EXPECT_EQ(SettingsWritesSoFar(), writes);
}

// One pick at a time: a press that reaches the pen while the screen is frozen starts no drag;
// and a change of the display, which makes the copy stale, ends the frozen pick.
TEST_F(PenTest, AFrozenPickTakesNoPenPressAndEndsAtADisplayChange) {
  form().Picks().StartOrEndFrozenPick();
  ASSERT_TRUE(form().Picks().ScreenFrozen());
  const RECT pen = form().Pen.PixelRect();
  ::SendMessageW(form().Pen.Parent().Window(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((pen.left + pen.right) / 2, (pen.top + pen.bottom) / 2));
  EXPECT_FALSE(form().Picks().PenDragging());
  ::SendMessageW(::FindWindowW(L"HuevikFrozenScreen", nullptr), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
  EXPECT_TRUE(PumpUntil([&] { return !form().Picks().ScreenFrozen(); })) << "still frozen";
}

// One pick at a time: the hotkey during a pen drag or a palette drag freezes nothing.
TEST_F(PenTest, TheHotkeyDuringADragFreezesNothing) {
  for (POINT at : {PenCentre(), ScreenCentreOf(form().PaletteChart)}) {
    MoveOver(at);
    pointer::Press();
    ::PostMessageW(form().hWnd(), WM_HOTKEY, kPickHotkeyId, MAKELPARAM(kPickHotkeyModifiers, kPickHotkeyKey));
    Pump(100);
    EXPECT_FALSE(form().Picks().ScreenFrozen()) << at.x << "," << at.y;
    EXPECT_TRUE(form().Picks().PenDragging() || form().Palette().Pressed()) << "the drag ended";
    pointer::Release();
  }
}

TEST_F(PenTest, LeftDragHidesThePenAndShowsItAsTheCursorUntilRelease) {
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(PenCursor(), &info));
  const unique_bitmap mask(info.hbmMask), colour(info.hbmColor);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 24u);
  EXPECT_EQ(info.yHotspot, 24u);

  PressPen();
  EXPECT_EQ(form().Picks().PenDragging(), true);
  EXPECT_EQ(form().Pen.Picture(), nullptr);
  EXPECT_EQ(form().Pen.Pointer(), MousePointer::Custom);
  EXPECT_EQ(::GetCursor(), PenCursor());
  MoveOver(patches_->At(2));
  ExpectShown(form(), kWhite, L"&HFFFFFF&", "outside the window");
  EXPECT_EQ(::GetCursor(), PenCursor()) << "the pen cursor is kept outside the window";
  pointer::SendButton(MOUSEEVENTF_LEFTUP);
  SendKey(VK_ESCAPE);  // before the release reached the pen: it takes nothing back
  Pump(50);
  ExpectShown(form(), kWhite, L"&HFFFFFF&", "after an Escape right after the release");
  EXPECT_EQ(form().Picks().PenDragging(), false);
  EXPECT_EQ(form().Pen.Picture(), form().PenStore.Picture());
  EXPECT_NE(form().Pen.Picture(), nullptr);
  EXPECT_EQ(form().Pen.Pointer(), MousePointer::Default);
  EXPECT_NE(::GetCursor(), PenCursor());
}

TEST_F(PenTest, MagnifierShowsOnlyForALeftDragAndGoesWithALostCapture) {
  const struct {
    DWORD down, up;
    bool magnifier;
  } kButtons[] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, true},
                  {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, false}};
  for (const auto& button : kButtons) {
    EXPECT_FALSE(Magnified()) << "before the press";
    PressPen(button.down);
    MoveOver(patches_->At(2));
    EXPECT_EQ(Magnified(), button.magnifier) << "button " << button.down;
    pointer::Release(button.up);
    EXPECT_FALSE(Magnified()) << "after the release of button " << button.down;
  }
  PressPen();
  ASSERT_TRUE(Magnified());
  ::SetCapture(patches_->hwnd());  // something else takes the pointer mid-drag
  Pump(20);
  EXPECT_FALSE(Magnified()) << "the magnifier outlives a lost capture";
  ::ReleaseCapture();
  pointer::Release();
}

TEST_F(PenTest, OtherButtonsSampleButKeepThePenAndTheCursor) {
  const struct {
    DWORD down, up;
    const char* name;
  } kButtons[] = {{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, "right"},
                  {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, "middle"}};
  for (const auto& button : kButtons) {
    PressPen(button.down);
    EXPECT_EQ(form().Picks().PenDragging(), true) << button.name;
    MoveOver(patches_->At(4));
    ExpectShown(form(), kMid, L"&H80C040&", button.name);
    MoveOver(patches_->At(0));
    ExpectShown(form(), kPureBlue, L"&HFF0000&", button.name);
    EXPECT_NE(form().Pen.Picture(), nullptr) << button.name;
    EXPECT_EQ(form().Pen.Pointer(), MousePointer::Default) << button.name;
    EXPECT_NE(::GetCursor(), PenCursor()) << button.name;
    pointer::Release(button.up);
    EXPECT_EQ(form().Picks().PenDragging(), false) << button.name;
  }
}

TEST_F(PenTest, MoveToTheSamePositionSamplesNothingEvenWhenTheScreenChanged) {
  PressPen();
  POINT spot = patches_->At(1);
  MoveOver(spot);
  ExpectFields(form(), kNearBlack, "first visit");
  patches_->Repaint(1, 0x00FF00);
  // A real move to where the pointer already is, and a move message such as the
  // window system sends when something moves under a still pointer.
  pointer::MoveTo(spot.x, spot.y);
  POINT client = spot;
  ::ScreenToClient(form().Swatch.Handle(), &client);
  ::SendMessageW(form().Swatch.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  Pump(20);
  ExpectFields(form(), kNearBlack, "same position");
  MoveOver(patches_->At(1, 1, 0));
  ExpectFields(form(), 0x00FF00, "one pixel further");
  pointer::Release();
}

TEST_F(PenTest, FirstSampleAtTheScreenOriginIsSkipped) {
  // Bring the pen's centre to (0, 0), so the press itself happens there.
  RECT placed{};
  ::GetWindowRect(form().hWnd(), &placed);
  POINT pen = PenCentre();
  ::SetWindowPos(form().hWnd(), HWND_TOPMOST, placed.left - pen.x, placed.top - pen.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
  form().Fields().Show(kEarlier);
  Pump(100);
  pen = PenCentre();
  ASSERT_EQ(pen.x, 0);
  ASSERT_EQ(pen.y, 0);
  ASSERT_EQ(::WindowFromPoint(pen), form().Swatch.Handle());
  COLORREF atOrigin = ScreenPixel(0, 0);
  ASSERT_NE(atOrigin, kEarlier) << "a sample at the origin would go unnoticed";

  pointer::MoveTo(0, 0);
  pointer::Press(MOUSEEVENTF_RIGHTDOWN);
  EXPECT_EQ(form().Picks().PenDragging(), true);
  ExpectFields(form(), kEarlier, "press at the origin");
  MoveOver(patches_->At(3));
  ExpectFields(form(), kBlack, "first move");
  pointer::Release(MOUSEEVENTF_RIGHTUP);
}

TEST_F(PenTest, SamplesOverItsOwnWindowReadItsOwnPixels) {
  PictureBox& chart = form().PaletteChart;
  RECT box = ScreenRectOf(chart);
  // Away from the marker, which stands at (144, 24) in the chart.
  const POINT kInChart[] = {{20, 10}, {230, 50}, {60, 40}};
  PressPen();
  for (POINT p : kInChart) {
    COLORREF expected = chart.ColourAt(p).value_or(CLR_INVALID);
    MoveOver({box.left + p.x, box.top + p.y});
    std::string where = "chart " + std::to_string(p.x) + "," + std::to_string(p.y);
    ExpectFields(form(), expected, where.c_str());
    EXPECT_EQ(form().Swatch.BackColor(), expected) << where;
  }
  // A swatch in the colour key is a hole in the window: the pen reads what shows
  // through, not the key colour that the window itself holds there.
  MoveOver(patches_->At(0));
  Pump(100);
  POINT hole{ScreenRectOf(form().Swatch).left + 10, ScreenRectOf(form().Swatch).top + 10};
  EXPECT_NE(ScreenPixel(hole.x, hole.y), kPureBlue) << "the key colour does not let the screen through";
  MoveOver(hole);
  ExpectFields(form(), ScreenPixel(hole.x, hole.y), "through the swatch in the key colour");
  pointer::Release();
}

TEST_F(PenTest, MouseUpWithoutMouseDownChangesNothing) {
  form().Fields().Show(kEarlier);
  PictureRef pen = form().Pen.Picture();
  POINT centre = PenCentre();
  pointer::MoveTo(centre.x, centre.y);
  pointer::Release(MOUSEEVENTF_LEFTUP);
  pointer::Release(MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(form().Picks().PenDragging(), false);
  ExpectShown(form(), kEarlier, L"&H123456&", "after a lone release");
  EXPECT_EQ(form().Pen.Picture(), pen);
  EXPECT_EQ(form().Pen.Pointer(), MousePointer::Default);
}

// A pixel on a window's frame. Wine's pixel read on a client DC is clipped to the
// DC's visible rectangle, the client area, and answers CLR_INVALID outside it; a
// BitBlt source is clipped only to the DC's device rectangle, which for a window of
// this process is the whole window surface, frame included. So such a DC is one that
// refuses the pixel read while the one-pixel copy still reaches the pixel. The pen
// itself reads the screen, which shows the frame as drawn.
TEST_F(PenTest, FramePixelWhereGetPixelFailsComesThroughTheOnePixelCopy) {
  PatchWindow framed({880, 300}, {0x00FFFF}, 80, 60, WS_POPUP | WS_THICKFRAME);
  Pump(100);
  RECT outer{};
  ::GetWindowRect(framed.hwnd(), &outer);
  const POINT kOnFrame[] = {{outer.left + 1, (outer.top + outer.bottom) / 2},
                            {(outer.left + outer.right) / 2, outer.top + 2},
                            {outer.right - 1, outer.bottom - 1}};
  window_dc framedDc(framed.hwnd());
  PressPen();
  for (POINT p : kOnFrame) {
    std::string where = "frame " + std::to_string(p.x) + "," + std::to_string(p.y);
    ASSERT_EQ(::WindowFromPoint(p), framed.hwnd()) << where;
    POINT client = p;
    ::ScreenToClient(framed.hwnd(), &client);
    COLORREF direct = WindowPixel(framed.hwnd(), client.x, client.y);
    ASSERT_EQ(direct, CLR_INVALID) << where << ": the pixel read does not fail here";
    HDC windowDc = ::GetWindowDC(framed.hwnd());
    COLORREF expected = ::GetPixel(windowDc, p.x - outer.left, p.y - outer.top);
    ::ReleaseDC(framed.hwnd(), windowDc);
    ASSERT_NE(expected, CLR_INVALID) << where;
    ASSERT_NE(expected, kMid) << where;
    EXPECT_EQ(form().Picks().ReadPixel(framedDc.get(), client), expected) << where;
    EXPECT_EQ(form().Swatch.ColourAt({0, 0}), expected) << where << ": the swatch's corner";

    MoveOver(patches_->At(4));
    MoveOver(p);
    ExpectFields(form(), expected, where.c_str());
    EXPECT_EQ(form().Swatch.BackColor(), expected) << where;
  }
  // A context that gives nothing at all, as a screen that cannot be read, still leaves a colour.
  EXPECT_EQ(form().Picks().ReadPixel(nullptr, {5, 5}), form().Swatch.ColourAt({0, 0}).value_or(CLR_INVALID));
  pointer::Release();
}

}  // namespace
