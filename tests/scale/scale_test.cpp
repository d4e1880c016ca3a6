// The real Huevik.exe on a display at the resolution the prefix is set to (run by
// run_scales.sh once per resolution), looked at and driven from outside as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "controls/picture.h"
#include "support/huevik_process.h"
#include "support/patch_window.h"
#include "support/pointer.h"
#include "win32/display_scale.h"

namespace {

const int kDpi = ClampDpi(std::atol(std::getenv("HUEVIK_SCALE_DPI") ? std::getenv("HUEVIK_SCALE_DPI") : "96"));
const std::string kShots = std::getenv("HUEVIK_SCALE_SHOTS") ? std::getenv("HUEVIK_SCALE_SHOTS") : ".";

// A client point of the 96-dpi layout, given in twips, at this resolution.
POINT At(int xTwips, int yTwips) { return {TwipsToPixelsAt(xTwips, kDpi), TwipsToPixelsAt(yTwips, kDpi)}; }
POINT OnScreen(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  return client;
}
POINT Scaled(POINT at96) { return {ScaledLength(at96.x, kDpi), ScaledLength(at96.y, kDpi)}; }

// Whole places of the layout: the pen's centre, the fields, the chart, the buttons, the bare surface.
const POINT kPenCentre = {At(2640 + 120 + 360, 600 + 240 + 120).x + ScaledLength(24, kDpi),
                          At(2640 + 120 + 360, 600 + 240 + 120).y + ScaledLength(24, kDpi)};
const POINT kChartOrigin = At(120 + 120, 2040 + 240);
const POINT kValueField = Scaled({85, 45}), kRed = Scaled({85, 70}), kGreen = Scaled({85, 93}),
            kBlue = Scaled({85, 116});
const POINT kOnMinimise = Scaled({244, 9}), kOnClose = Scaled({275, 9}), kBareSurface = Scaled({120, 25});

std::vector<std::uint32_t> ScreenPixels(RECT r) {
  const SIZE size{r.right - r.left, r.bottom - r.top};
  std::uint32_t* bits = nullptr;
  unique_bitmap image = TopDownBitmap(size, &bits);
  unique_mem_dc dc(::CreateCompatibleDC(nullptr));
  {
    select_guard select(dc.get(), image.get());
    window_dc screen = GetWindowDc(nullptr);
    ::BitBlt(dc.get(), 0, 0, size.cx, size.cy, screen.get(), r.left, r.top, SRCCOPY);
  }
  std::vector<std::uint32_t> pixels(bits, bits + size.cx * size.cy);
  for (auto& p : pixels) p |= 0xFF000000u;
  return pixels;
}

// A 24-bit bitmap file, for the eye and for the next resolution's comparison.
void SaveBmp(const std::string& path, const std::vector<std::uint32_t>& pixels, SIZE size) {
  const int row = (size.cx * 3 + 3) & ~3;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(54 + row * size.cy), 0, 0, 54};
  BITMAPINFOHEADER head{sizeof head, size.cx, size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&head), sizeof head);
  std::vector<char> line(static_cast<size_t>(row));
  for (long y = size.cy - 1; y >= 0; --y) {
    for (long x = 0; x < size.cx; ++x)
      std::memcpy(&line[static_cast<size_t>(x * 3)], &pixels[static_cast<size_t>(y * size.cx + x)], 3);
    out.write(line.data(), row);
  }
}

std::vector<std::uint32_t> LoadBmp(const std::string& path, SIZE size) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const int row = (size.cx * 3 + 3) & ~3;
  in.seekg(54);
  std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx * size.cy));
  std::vector<char> line(static_cast<size_t>(row));
  for (long y = size.cy - 1; y >= 0; --y) {
    in.read(line.data(), row);
    for (long x = 0; x < size.cx; ++x) {
      std::uint32_t p = 0xFF000000u;
      std::memcpy(&p, &line[static_cast<size_t>(x * 3)], 3);
      pixels[static_cast<size_t>(y * size.cx + x)] = p | 0xFF000000u;
    }
  }
  return pixels;
}

std::wstring TextAt(const HuevikProcess& huevik, POINT client) {
  return ReadWindowText(huevik.ChildAt(client.x, client.y));
}

COLORREF FieldsColour(const HuevikProcess& huevik) {
  auto number = [&](POINT at) { return std::wcstol(TextAt(huevik, at).c_str(), nullptr, 10); };
  return RGB(number(kRed), number(kGreen), number(kBlue));
}

// The magnifier is the 96-dpi one in proportion (90 pixels a side there); the strip under its
// pixels holds the widest value text whole, in the message font.
void ExpectMagnifierInProportion() {
  HWND magnifier = ::FindWindowW(L"HuevikMagnifier", nullptr);
  RECT place{};
  ASSERT_TRUE(magnifier && ::IsWindowVisible(magnifier) && ::GetWindowRect(magnifier, &place)) << "no magnifier";
  const long width = place.right - place.left, height = place.bottom - place.top;
  const double side = 90.0 * kDpi / 96;
  EXPECT_GE(width, side - 2) << kDpi << " dpi";
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  unique_font font(::CreateFontIndirectW(&metrics.lfMessageFont));
  window_dc screen = GetWindowDc(nullptr);
  select_guard selected(screen.get(), font.get());
  SIZE text{};
  ::GetTextExtentPoint32W(screen.get(), L"&HFFFFFF&", 9, &text);
  EXPECT_TRUE(width >= text.cx && height - side + 2 >= text.cy) << "the strip at " << kDpi << " dpi";
}

class ScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    pointer::MoveTo(2, 2);
  }
};

TEST_F(ScaleTest, WindowIsTheWholeLayoutScaled) {
  HuevikProcess huevik;
  HWND window = huevik.Window();
  Pump(300);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_NEAR(std::lround(300.0 * kDpi / 96), client.right, 1);
  EXPECT_NEAR(std::lround(263.0 * kDpi / 96), client.bottom, 1);
  RECT box{};
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, ::GetWindowRgn(window, region));
  ::GetRgnBox(region, &box);
  ::DeleteObject(region);
  // A round-rectangle region leaves out its right-most column and bottom row.
  EXPECT_EQ(0, box.left);
  EXPECT_EQ(0, box.top);
  EXPECT_NEAR(client.right, box.right, 1);
  EXPECT_NEAR(client.bottom, box.bottom, 1);

  // The client area, shrunk to the 96-dpi size, against the 96-dpi picture. Measure: the mean
  // absolute difference over the three channels, on the whole client and on four places that
  // hold pictures only (pen, close button, chart, skin title). Text is drawn afresh at each
  // size, so its strokes differ: the whole-client mean was about 10 of 255 in a good run and 64
  // with the layout unscaled, hence at most 16; a picture place was at most 2.5 in a good run and
  // 20 to 140 with its picture left at 96-dpi size, hence at most 8.
  POINT origin = OnScreen(window, {0, 0});
  std::vector<std::uint32_t> shot =
      ScreenPixels({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  SaveBmp(kShots + "/client-" + std::to_string(kDpi) + ".bmp", shot, {client.right, client.bottom});
  std::vector<std::uint32_t> small = ResamplePixels(shot, {client.right, client.bottom}, {300, 263}, false);
  if (kDpi == 96) {
    SaveBmp(kShots + "/reference-96.bmp", small, {300, 263});
    return;
  }
  std::vector<std::uint32_t> reference = LoadBmp(kShots + "/reference-96.bmp", {300, 263});
  ASSERT_EQ(reference.size(), small.size()) << "no 96-dpi picture to compare with";
  auto meanDifference = [&](RECT area) {
    double sum = 0;
    for (long y = area.top; y < area.bottom; ++y)
      for (long x = area.left; x < area.right; ++x)
        for (int shift : {0, 8, 16}) {
          const size_t i = static_cast<size_t>(y * 300 + x);
          sum += std::abs(static_cast<int>(small[i] >> shift & 0xFF) - static_cast<int>(reference[i] >> shift & 0xFF));
        }
    return sum / (3.0 * (area.right - area.left) * (area.bottom - area.top));
  };
  const double whole = meanDifference({0, 0, 300, 263});
  std::printf("mean difference from the 96-dpi picture at %d dpi: %.2f\n", kDpi, whole);
  EXPECT_LE(whole, 16.0);
  const struct {
    const char* what;
    RECT area;
  } kPicturePlaces[] = {{"pen", {208, 64, 256, 112}},
                        {"close button", {256, 0, 300, 18}},
                        {"chart", {16, 152, 283, 217}},
                        {"skin title", {0, 0, 120, 30}}};
  for (const auto& place : kPicturePlaces) EXPECT_LE(meanDifference(place.area), 8.0) << place.what;
}

TEST_F(ScaleTest, PenTakesExactPatchColoursAndPaletteTheScreenPixel) {
  HuevikProcess huevik;
  HWND window = huevik.Window();
  RECT placed{};
  ::GetWindowRect(window, &placed);
  PatchWindow patches({placed.right + 20, placed.top}, {0x80C040, 0x030201, 0xFEFFFF});
  Pump(300);
  for (std::size_t i = 0; i < 3; ++i) {
    POINT pen = OnScreen(window, kPenCentre);
    pointer::MoveTo(pen.x, pen.y);
    pointer::Press();
    Pump(100);
    if (i == 0) ExpectMagnifierInProportion();
    POINT over = patches.At(i);
    pointer::MoveTo(over.x, over.y);
    EXPECT_TRUE(PumpUntil([&] { return FieldsColour(huevik) == patches.Colour(i); })) << "patch " << i;
    pointer::Release();
    Pump(100);
  }
  // Chart points away from the marker: the fields take the pixel the screen shows there.
  for (POINT inChart : {Scaled({40, 30}), Scaled({200, 10}), Scaled({250, 60})}) {
    POINT at = OnScreen(window, {kChartOrigin.x + inChart.x, kChartOrigin.y + inChart.y});
    const COLORREF shown = ::GetPixel(GetWindowDc(nullptr).get(), at.x, at.y);
    pointer::ClickAt(at.x, at.y);
    EXPECT_TRUE(PumpUntil([&] { return FieldsColour(huevik) == shown; }))
        << "chart point " << inChart.x << "," << inChart.y << ": screen shows " << std::hex << shown << ", fields "
        << FieldsColour(huevik);
  }
  // On a frozen screen, with the value's strip.
  ::PostMessageW(window, WM_HOTKEY, 1, MAKELPARAM(MOD_WIN | MOD_ALT, 'C'));
  ASSERT_TRUE(PumpUntil([] { return ::FindWindowW(L"HuevikFrozenScreen", nullptr) != nullptr; }));
  Pump(200);
  ExpectMagnifierInProportion();
  ::PostMessageW(window, WM_HOTKEY, 1, MAKELPARAM(MOD_WIN | MOD_ALT, 'C'));
}

TEST_F(ScaleTest, CaptionButtonsShowTheirLooksAndWorkWhereDrawn) {
  HuevikProcess huevik;
  HWND window = huevik.Window();
  Pump(300);
  auto pixelAt = [&](POINT client) {
    POINT at = OnScreen(window, client);
    return ::GetPixel(GetWindowDc(nullptr).get(), at.x, at.y);
  };
  // The close tile is red with a white cross; its left edge column at the scaled place.
  // Hover looks show only while the window is in the foreground, and the hover timer knows
  // where the window is once the pointer has come in over its surface.
  ::SetForegroundWindow(window);
  POINT surface = OnScreen(window, kBareSurface);
  pointer::MoveTo(surface.x, surface.y);
  Pump(300);
  const COLORREF normalClose = pixelAt(Scaled({260, 3}));
  EXPECT_GT(GetRValue(normalClose), 150) << std::hex << normalClose;
  EXPECT_LT(GetGValue(normalClose), 120) << std::hex << normalClose;
  POINT close = OnScreen(window, kOnClose);
  pointer::MoveTo(close.x, close.y);
  EXPECT_TRUE(PumpUntil([&] { return pixelAt(Scaled({260, 3})) != normalClose; })) << "no hover look";
  POINT minimise = OnScreen(window, kOnMinimise);
  pointer::ClickAt(minimise.x, minimise.y);
  EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(window) != FALSE; })) << "minimise did nothing";
  ::ShowWindow(window, SW_RESTORE);
  ::SetForegroundWindow(window);
  Pump(300);
  pointer::ClickAt(close.x, close.y);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(window); })) << "close did nothing";
}

TEST_F(ScaleTest, SurfaceDragSavesTwipsThatRestoreTheSamePhysicalPlace) {
  RECT dragged{};
  {
    HuevikProcess huevik;
    HWND window = huevik.Window();
    Pump(300);
    RECT placed{};
    ::GetWindowRect(window, &placed);
    POINT from = OnScreen(window, kBareSurface);
    pointer::MoveTo(from.x, from.y);
    pointer::Press();
    Pump(50);
    for (int step = 1; step <= 5; ++step) {
      pointer::MoveTo(from.x + 9 * step, from.y + 7 * step);
      Pump(30);
    }
    pointer::Release();
    Pump(300);
    pointer::MoveTo(from.x + 46, from.y + 36);  // one more move over the surface saves the place
    Pump(300);
    ::GetWindowRect(window, &dragged);
    // Twips by the system's resolution; at 192 dpi a pixel is 7.5 twips, so they may carry a half.
    const double twipsPerPixel = 1440.0 / kDpi;
    EXPECT_NE(dragged.left, placed.left) << "the drag moved nothing";
    EXPECT_DOUBLE_EQ(dragged.left * twipsPerPixel, std::wcstod(stored::Read(L"Left").c_str(), nullptr));
    EXPECT_DOUBLE_EQ(dragged.top * twipsPerPixel, std::wcstod(stored::Read(L"Top").c_str(), nullptr));
  }
  HuevikProcess again;
  Pump(300);
  RECT restored{};
  ::GetWindowRect(again.Window(), &restored);
  EXPECT_TRUE(EqualRect(&dragged, &restored)) << "dragged to " << dragged.left << "," << dragged.top << ", restored at "
                                              << restored.left << "," << restored.top;
}

}  // namespace
