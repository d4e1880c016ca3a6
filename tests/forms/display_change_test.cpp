// The main window laid out at another resolution, as when it moves to a monitor of another
// resolution: no real monitor can change under the test, so the layout is asked for by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/main_window_fixture.h"
#include "tray/tray_menu_owner.h"
#include "win32/display.h"
#include "win32/display_scale.h"

namespace {

// The window's own painting (skin and drawn controls), through WM_PRINTCLIENT.
std::vector<std::uint32_t> PrintedClient(HWND window, SIZE& size) {
  RECT client{};
  ::GetClientRect(window, &client);
  size = {client.right, client.bottom};
  std::uint32_t* bits = nullptr;
  unique_bitmap image = TopDownBitmap(size, &bits);
  unique_mem_dc dc(::CreateCompatibleDC(nullptr));
  {
    select_guard select(dc.get(), image.get());
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  }
  std::vector<std::uint32_t> pixels(bits, bits + size.cx * size.cy);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return {};
  unique_bitmap mask(info.hbmMask), colour(info.hbmColor);
  BITMAP bitmap{};
  ::GetObjectW(colour.get(), sizeof bitmap, &bitmap);
  return {bitmap.bmWidth, bitmap.bmHeight};
}

// The box of the rounded region made from the client size: a round-rectangle region
// leaves out its right-most column and bottom row.
RECT RoundRegionBox(const RECT& client, int dpi) {
  const int corner = ScaledLength(2, dpi);
  HRGN made = ::CreateRoundRectRgn(0, 0, client.right, client.bottom, corner, corner);
  RECT box{};
  ::GetRgnBox(made, &box);
  ::DeleteObject(made);
  return box;
}

class DisplayChangeTest : public MainWindowTest {
 protected:
  void TearDown() override {
    // Whatever failed, the next test runs at the display's own resolution.
    form().ApplyDpi(96);
    Display::SetDpi(Display::SystemDpi());
    MainWindowTest::TearDown();
  }
};

TEST_F(DisplayChangeTest, TheWholeWindowScalesAndComesBackPixelForPixel) {
  HWND window = form().hWnd();
  SIZE before{};
  const std::vector<std::uint32_t> at96 = PrintedClient(window, before);
  RECT start{};
  ::GetWindowRect(window, &start);
  for (int dpi : {120, 144, 192}) {
    SCOPED_TRACE(testing::Message() << dpi << " dpi");
    const SIZE scaled{TwipsToPixelsAt(4500, dpi), TwipsToPixelsAt(3945, dpi)};
    form().ApplyDpi(dpi);
    RECT client{}, box{}, placed{};
    ::GetWindowRect(window, &placed);
    EXPECT_EQ(start.left, placed.left) << "the top-left moved";
    EXPECT_EQ(start.top, placed.top) << "the top-left moved";
    ::GetClientRect(window, &client);
    EXPECT_EQ(scaled.cx, client.right);
    EXPECT_EQ(scaled.cy, client.bottom);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(window, region);
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    const RECT expected = RoundRegionBox(client, dpi);
    EXPECT_TRUE(EqualRect(&box, &expected)) << "region box " << box.right << " x " << box.bottom;
    // Every picture at its scaled size: pen, its cursor, the window icon, a caption-button look.
    EXPECT_EQ(ScaledLength(48, dpi), form().Pen.Picture()->Size().cx);
    form().Pen.SetMousePointer(MousePointer::Custom);
    EXPECT_EQ(ScaledLength(48, dpi), IconSize(reinterpret_cast<HICON>(form().Pen.Cursor())).cx);
    form().Pen.SetMousePointer(MousePointer::Default);
    EXPECT_EQ(ScaledLength(48, dpi), IconSize(form().Icon()).cy);
    EXPECT_EQ(ScaledLength(44, dpi), form().CloseNormalLook.Picture()->Size().cx);
    EXPECT_EQ(ScaledLength(18, dpi), form().MinimiseHoverLook.Picture()->Size().cy);
    // The skin covers the client and is nowhere see-through.
    SIZE printed{};
    std::vector<std::uint32_t> pixels = PrintedClient(window, printed);
    long keyed = 0;
    for (std::uint32_t p : pixels) keyed += p == 0x0000FF;
    EXPECT_EQ(0, keyed) << "pixels in the see-through key";
    // The palette's marker keeps its place in twips, so it stands at the scaled pixel.
    EXPECT_EQ(TwipsToPixelsAt(2160, dpi), form().PaletteMarker.PixelRect().left);
  }
  // The main window alone owns the resolution: told to the tray's form, whose monitor is at
  // another one, or to a control, a change lays nothing out again.
  for (HWND other : {TheTrayMenuOwner().hWnd(), form().Pen.Parent().Window()})
    ::SendMessageW(other, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
  EXPECT_EQ(Display::Dpi(), 192) << "another window's change of resolution laid the main window out";
  // Whatever another program sends, the rectangle is not read: the window takes its monitor's own
  // resolution again, where it was.
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), -1);
  RECT back{};
  ::GetWindowRect(window, &back);
  EXPECT_TRUE(::EqualRect(&back, &start)) << back.left << "," << back.top << "," << back.right << "," << back.bottom;
  SIZE after{};
  EXPECT_TRUE(at96 == PrintedClient(window, after)) << "the 96-dpi window differs after the round trip";
  EXPECT_EQ(before.cx, after.cx);
  EXPECT_EQ(before.cy, after.cy);
}

}  // namespace
