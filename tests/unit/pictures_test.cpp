// The pictures as the program finds them: loaded from this module's own
// resources, the same .rc the exe is built from, or drawn as the program draws them.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "controls/picture.h"
#include "settings/settings_store.h"
#include "win32/this_program.h"
#include "picking/palette_picture.h"
#include "resource.h"
#include "win32/handles.h"

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
  bool operator<(const Rgb& other) const {
    return (r << 16 | g << 8 | b) < (other.r << 16 | other.g << 8 | other.b);
  }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

constexpr Rgb kColourKey{0, 0, 255};  // the window's transparency key
constexpr Rgb kSkinBlue{107, 173, 247};
constexpr int kPaletteChart = 201;   // drawn by the program, so only its reference is stored
constexpr int kReferenceIds = 1000;  // reference_pictures.rc: each picture as it was stored whole

bool IsGrey(Rgb c, int atLeast) { return c.r == c.g && c.g == c.b && c.r >= atLeast; }

HBITMAP Stored(int id) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// A picture as the program shows it at 96 dpi, made by its own loader or drawing.
HBITMAP Shown(int id) {
  try {
    const PictureRef picture = id == kPaletteChart ? DrawPaletteChart() : Picture::FromBitmapResource(id);
    BITMAPINFO info{};  // bottom-up, as the stored references load
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture->Size().cx, picture->Size().cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    unique_bitmap shown(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const unique_mem_dc dc(CreateCompatibleDC(nullptr));
    const select_guard select(dc.get(), shown.get());
    picture->Draw(dc.get(), 0, 0, picture->Size().cx, picture->Size().cy);
    return shown.release();
  } catch (const std::exception&) {
    return nullptr;
  }
}

class LoadedBitmap {
 public:
  explicit LoadedBitmap(int id) : LoadedBitmap(Shown(id)) {}
  explicit LoadedBitmap(HBITMAP bitmap) : bitmap_(bitmap) {
    if (bitmap_) GetObjectW(bitmap_.get(), sizeof(dib_), &dib_);
  }
  bool loaded() const { return bitmap_ && dib_.dsBm.bmBits != nullptr; }
  int width() const { return dib_.dsBm.bmWidth; }
  int height() const { return dib_.dsBm.bmHeight; }
  int bitsPerPixel() const { return dib_.dsBm.bmBitsPixel; }

  // (x, y) from the top-left, whichever way the rows are stored.
  Rgb at(int x, int y) const {
    const int row = dib_.dsBmih.biHeight > 0 ? height() - 1 - y : y;
    const auto* bytes = static_cast<const BYTE*>(dib_.dsBm.bmBits) + row * dib_.dsBm.bmWidthBytes;
    const BYTE* pixel = bytes + x * 4;
    return {pixel[2], pixel[1], pixel[0]};
  }

  std::vector<Rgb> allPixels() const {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) pixels.push_back(at(x, y));
    return pixels;
  }

  Rgb mostFrequentColour() const {
    std::map<Rgb, int> counts;
    for (Rgb c : allPixels()) ++counts[c];
    auto best = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
      if (it->second > best->second) best = it;
    return best->first;
  }

 private:
  unique_bitmap bitmap_;
  DIBSECTION dib_{};
};

struct BitmapCase {
  const char* name;
  int id;
  int width;
  int height;
};

constexpr BitmapCase kBitmaps[] = {
    {"skin", IDB_SKIN, 300, 263},
    {"palette", kPaletteChart, 267, 70},
    {"min_normal", IDB_MIN_NORMAL, 26, 18},
    {"min_hover", IDB_MIN_HOVER, 26, 18},
    {"min_pressed", IDB_MIN_PRESSED, 26, 18},
    {"close_normal", IDB_CLOSE_NORMAL, 44, 18},
    {"close_hover", IDB_CLOSE_HOVER, 44, 18},
};

void PrintTo(const BitmapCase& c, std::ostream* out) { *out << c.name; }

class EveryBitmap : public ::testing::TestWithParam<BitmapCase> {};

// Stored in fewer bits or drawn, every pixel shows as it did when the picture was stored whole.
TEST_P(EveryBitmap, HasItsSizeAndShowsEveryPixelOfItsReference) {
  const LoadedBitmap bitmap(GetParam().id), reference(Stored(GetParam().id + kReferenceIds));
  ASSERT_TRUE(bitmap.loaded() && reference.loaded());
  EXPECT_EQ(bitmap.width(), GetParam().width);
  EXPECT_EQ(bitmap.height(), GetParam().height);
  const std::vector<Rgb> shown = bitmap.allPixels(), stored = reference.allPixels();
  ASSERT_EQ(shown.size(), stored.size());
  for (size_t i = 0; i < shown.size(); ++i) ASSERT_EQ(shown[i], stored[i]) << "at pixel " << i;
}

// A key-coloured pixel would be a hole in the layered window.
TEST_P(EveryBitmap, HasNoPixelInTheTransparencyKey) {
  const LoadedBitmap bitmap(GetParam().id);
  ASSERT_TRUE(bitmap.loaded());
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x)
      ASSERT_NE(bitmap.at(x, y), kColourKey) << "at (" << x << "," << y << ")";
}

INSTANTIATE_TEST_SUITE_P(Pictures, EveryBitmap, ::testing::ValuesIn(kBitmaps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SkinPicture, EdgesOutsideTitleAndButtonsAreTheBorderBlue) {
  const LoadedBitmap skin(IDB_SKIN);
  ASSERT_TRUE(skin.loaded());
  constexpr int kPanelLeft = 8, kPanelRight = 292, kPanelBottom = 248, kButtonsBottom = 18;
  for (int y = 0; y < skin.height(); ++y) {
    for (int x = 0; x < skin.width(); ++x) {
      const bool leftEdge = x < kPanelLeft;
      const bool rightEdge = x >= kPanelRight && y >= kButtonsBottom;
      const bool bottomEdge = y >= kPanelBottom;
      if (leftEdge || rightEdge || bottomEdge) {
        ASSERT_EQ(skin.at(x, y), kSkinBlue) << "at (" << x << "," << y << ")";
      }
    }
  }
}

TEST(SkinPicture, PanelInsideIsLightGrey) {
  const LoadedBitmap skin(IDB_SKIN);
  ASSERT_TRUE(skin.loaded());
  for (int y = 38; y < 246; ++y)
    for (int x = 10; x < 290; ++x)
      ASSERT_TRUE(IsGrey(skin.at(x, y), 200)) << skin.at(x, y) << " at (" << x << "," << y << ")";
}

TEST(SkinPicture, TitleBandCarriesIconAndText) {
  const LoadedBitmap skin(IDB_SKIN);
  ASSERT_TRUE(skin.loaded());
  int drawn = 0;
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 120; ++x) drawn += skin.at(x, y) != kSkinBlue;
  EXPECT_GT(drawn, 150);
}

TEST(PalettePicture, TopRowIsWhiteAndBottomRowBlack) {
  const LoadedBitmap palette(kPaletteChart);
  ASSERT_TRUE(palette.loaded());
  const int bottom = palette.height() - 1;
  for (int x = 0; x < palette.width(); ++x) {
    const Rgb top = palette.at(x, 0), low = palette.at(x, bottom);
    EXPECT_TRUE(top.r >= 250 && top.g >= 250 && top.b >= 250) << top << " at column " << x;
    EXPECT_TRUE(low.r <= 5 && low.g <= 5 && low.b <= 5) << low << " at column " << x;
  }
}

TEST(PalettePicture, MiddleRowRunsThroughTheHues) {
  const LoadedBitmap palette(kPaletteChart);
  ASSERT_TRUE(palette.loaded());
  const Rgb hues[] = {{255, 0, 0},   {255, 255, 0}, {0, 255, 0},  {0, 255, 255},
                      {0, 0, 255},   {255, 0, 255}, {255, 0, 0}};
  const int middle = palette.height() / 2;
  constexpr int kTolerance = 8;
  for (int step = 0; step < 7; ++step) {
    const int column = (step * (palette.width() - 1) + 3) / 6;
    const Rgb actual = palette.at(column, middle), expected = hues[step];
    EXPECT_NEAR(actual.r, expected.r, kTolerance) << "column " << column;
    EXPECT_NEAR(actual.g, expected.g, kTolerance) << "column " << column;
    EXPECT_NEAR(actual.b, expected.b, kTolerance) << "column " << column;
  }
}

TEST(ButtonTiles, NormalLooksAreBlueWithDarkBarAndRedWithWhiteCross) {
  const LoadedBitmap minimise(IDB_MIN_NORMAL), close(IDB_CLOSE_NORMAL);
  ASSERT_TRUE(minimise.loaded() && close.loaded());
  EXPECT_EQ(minimise.mostFrequentColour(), kSkinBlue);
  int dark = 0, white = 0;
  for (Rgb c : minimise.allPixels()) dark += c.r + c.g + c.b < 250;
  for (Rgb c : close.allPixels()) white += IsGrey(c, 240);
  EXPECT_GE(dark, 10);
  EXPECT_GE(white, 10);
  const Rgb red = close.mostFrequentColour();
  EXPECT_TRUE(red.r >= 180 && red.g <= 90 && red.b <= 90) << red;
}

TEST(ButtonTiles, EachLookHasItsOwnColour) {
  const int pairs[][2] = {{IDB_MIN_NORMAL, IDB_MIN_HOVER},
                          {IDB_MIN_NORMAL, IDB_MIN_PRESSED},
                          {IDB_MIN_HOVER, IDB_MIN_PRESSED},
                          {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER}};
  for (const auto& [first, second] : pairs) {
    const LoadedBitmap a(first), b(second);
    ASSERT_TRUE(a.loaded() && b.loaded());
    EXPECT_NE(a.mostFrequentColour(), b.mostFrequentColour()) << "ids " << first << ", " << second;
  }
}

#pragma pack(push, 2)
struct IconGroupHeader {
  WORD reserved, type, count;
};
struct IconGroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInResource;
  WORD id;
};
#pragma pack(pop)

TEST(MouseIcon, IsOneImage48By48At24Bits) {
  const HMODULE self = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(IDI_MOUSE), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* header = static_cast<const IconGroupHeader*>(LockResource(LoadResource(self, found)));
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(header->count, 1);
  const auto* entry = reinterpret_cast<const IconGroupEntry*>(header + 1);
  EXPECT_EQ(entry->width, 48);
  EXPECT_EQ(entry->height, 48);
  EXPECT_EQ(entry->bitCount, 24);
}

// Reads a bitmap as top-down 32-bit pixels, whatever its own format.
std::vector<DWORD> ReadPixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  const unique_mem_dc dc(CreateCompatibleDC(nullptr));
  const int rows = GetDIBits(dc.get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  return rows == height ? pixels : std::vector<DWORD>{};
}

TEST(MouseIcon, LoadsAtItsOwnSizeWithTransparentCornersAndOpaqueBody) {
  const unique_icon icon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MOUSE), IMAGE_ICON, 0, 0, 0)));
  ASSERT_TRUE(icon);
  ICONINFO parts{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &parts));
  const unique_bitmap colour(parts.hbmColor), mask(parts.hbmMask);
  BITMAP size{};
  ASSERT_TRUE(colour && GetObjectW(colour.get(), sizeof(size), &size));
  ASSERT_EQ(size.bmWidth, 48);
  ASSERT_EQ(size.bmHeight, 48);

  const std::vector<DWORD> maskPixels = ReadPixels(mask.get(), 48, 48);
  const std::vector<DWORD> colourPixels = ReadPixels(colour.get(), 48, 48);
  ASSERT_FALSE(maskPixels.empty() || colourPixels.empty());
  const auto transparent = [&](int x, int y) { return (maskPixels[y * 48 + x] & 0xFFFFFF) != 0; };
  for (auto [x, y] : {std::pair{0, 0}, {47, 0}, {0, 47}, {47, 47}})
    EXPECT_TRUE(transparent(x, y)) << "corner (" << x << "," << y << ")";
  EXPECT_FALSE(transparent(24, 30)) << "middle of the mouse";
  for (int i = 0; i < 48 * 48; ++i) {
    if (!transparent(i % 48, i / 48)) {
      ASSERT_NE(colourPixels[i] & 0xFFFFFF, 0x0000FFu) << "key colour at pixel " << i;
    }
  }
}

// A stored picture 3 x 2 in two colours, decoded by GDI into the colours of its table.
std::vector<BYTE> PackedRle8(std::initializer_list<BYTE> codes, WORD bits = 8) {
  const BITMAPINFOHEADER header{sizeof header, 3, 2, 1, bits, BI_RLE8, 0, 0, 0, 3, 0};
  std::vector<BYTE> packed(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header + 1));
  packed.insert(packed.end(), {0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0});  // red, blue, green
  packed.insert(packed.end(), codes);
  return packed;
}

std::vector<DWORD> ColoursOf(const unique_bitmap& bitmap) {
  std::vector<DWORD> pixels = ReadPixels(bitmap.get(), 3, 2);
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

TEST(StoredPictures, RunLengthCodesDecodeIntoTheirColoursOrAreRefused) {
  // Bottom row: a run of three blue; top row: red, blue, red as they are.
  const std::vector<BYTE> good = PackedRle8({3, 1, 0, 0, 0, 3, 0, 1, 0, 0, 0, 1});
  EXPECT_EQ(ColoursOf(SectionFromRle8(good)),
            (std::vector<DWORD>{0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF, 0x0000FF, 0x0000FF}));
  // Not run-length coded; cut off in the header, in the colour table, before the codes.
  int copy = 0;
  for (const auto& refused : {PackedRle8({0, 1}, 32), std::vector<BYTE>(good.begin(), good.begin() + 20),
                              std::vector<BYTE>(good.begin(), good.begin() + 44),
                              std::vector<BYTE>(good.begin(), good.begin() + 52)})
    EXPECT_FALSE(SectionFromRle8(refused)) << "refused copy " << copy++;
  // A run past the row, a colour past the table, a row past the height, no end code, indices
  // cut off: GDI draws what it can, or nothing, reading nothing beyond the data. Past the data lie
  // codes for a row of green, which no damaged copy names: every pixel is red or blue, or black
  // where an index lies past the table.
  for (auto damaged : {PackedRle8({4, 1, 0, 1}), PackedRle8({3, 3, 0, 1}), PackedRle8({0, 0, 0, 0, 1, 1, 0, 1}),
                       PackedRle8({3, 1, 0, 0}), PackedRle8({0, 3, 1})}) {
    const size_t size = damaged.size();
    damaged.insert(damaged.end(), {3, 2, 3, 2, 0, 1});
    const unique_bitmap decoded = SectionFromRle8({damaged.data(), size});
    if (!decoded) continue;
    for (DWORD colour : ColoursOf(decoded))
      EXPECT_TRUE(colour == 0xFF0000 || colour == 0x0000FF || colour == 0) << std::hex << colour << " in damaged copy " << copy;
    ++copy;
  }
}

}  // namespace
