#include "controls/picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "win32/this_program.h"
#include "win32/display.h"
#include "win32/display_scale.h"

PictureRef Picture::FromBitmapResource(int id) {
  const HRSRC found = ::FindResourceW(ThisProgram::Instance(), MAKEINTRESOURCEW(id), RT_BITMAP);
  const HGLOBAL loaded = found ? ::LoadResource(ThisProgram::Instance(), found) : nullptr;
  const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  if (!data) return nullptr;
  auto picture = std::make_shared<Picture>();
  picture->bitmap_ = SectionFromRle8({data, ::SizeofResource(ThisProgram::Instance(), found)});
  if (!picture->bitmap_) return nullptr;
  BITMAP info{};
  ::GetObjectW(picture->bitmap_.get(), sizeof info, &info);
  picture->size_ = {info.bmWidth, info.bmHeight};
  return picture;
}

PictureRef Picture::FromIconResource(int id) {
  auto picture = std::make_shared<Picture>();
  picture->icon_.reset(
      static_cast<HICON>(::LoadImageW(ThisProgram::Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR)));
  if (!picture->icon_) return nullptr;
  picture->size_ = {48, 48};
  return picture;
}

namespace {

BITMAPINFO TopDown32(SIZE size) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return info;
}

}  // namespace

unique_bitmap TopDownBitmap(SIZE size, std::uint32_t** pixels) {
  BITMAPINFO info = TopDown32(size);
  void* bits = nullptr;
  unique_bitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (pixels) *pixels = bitmap ? static_cast<std::uint32_t*>(bits) : nullptr;
  return bitmap;
}

namespace {

// Longer than any picture of ours: a header claiming more is damaged.
constexpr LONG kLongestSide = 4096;

// The colour table that heads a stored picture: it must fit in the data, as its codes must.
struct Rle8Info {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

}  // namespace

// Kept at 8 bits a pixel, a quarter of a 32-bit copy, and filled by GDI straight from the
// codes: the start makes no second copy of any picture.
unique_bitmap SectionFromRle8(std::span<const BYTE> packed) {
  Rle8Info coded{};
  BITMAPINFOHEADER& header = coded.header;
  if (packed.size() < sizeof header) return {};
  std::memcpy(&header, packed.data(), sizeof header);
  const bool rle8 = header.biSize == sizeof header && header.biPlanes == 1 && header.biBitCount == 8 &&
                    header.biCompression == BI_RLE8 && header.biClrUsed <= 256;
  const bool sized = header.biWidth > 0 && header.biWidth <= kLongestSide && header.biHeight > 0 &&
                     header.biHeight <= kLongestSide;
  if (!rle8 || !sized) return {};
  const size_t colourCount = header.biClrUsed ? header.biClrUsed : 256;
  const size_t codesAt = sizeof header + colourCount * sizeof(RGBQUAD);
  if (packed.size() <= codesAt) return {};
  std::memcpy(coded.colours, packed.data() + sizeof header, colourCount * sizeof(RGBQUAD));
  // GDI reads as many codes as the header says: never more than the data holds.
  header.biSizeImage = static_cast<DWORD>(packed.size() - codesAt);
  Rle8Info plain = coded;
  plain.header.biHeight = -header.biHeight;
  plain.header.biCompression = BI_RGB;
  plain.header.biSizeImage = 0;
  void* bits = nullptr;
  unique_bitmap section(
      ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&plain), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section) return {};
  // Both tables are the same, so each index keeps its colour. Colours given in the table need
  // no device context; the screen's, whose first use costs a start a display set-up, only
  // where GDI wants one.
  const auto decode = [&](HDC dc) {
    return ::SetDIBits(dc, section.get(), 0, static_cast<UINT>(header.biHeight), packed.data() + codesAt,
                       reinterpret_cast<const BITMAPINFO*>(&coded), DIB_RGB_COLORS) != 0;
  };
  if (!decode(nullptr) && !decode(GetWindowDc(nullptr).get())) return {};
  return section;
}

namespace {

std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, SIZE size) {
  std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  BITMAPINFO info = TopDown32(size);
  window_dc screen = GetWindowDc(nullptr);
  if (!::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS))
    return {};
  return pixels;
}

unique_bitmap BitmapOf(std::span<const std::uint32_t> pixels, SIZE size) {
  std::uint32_t* bits = nullptr;
  unique_bitmap bitmap = TopDownBitmap(size, &bits);
  if (bits) std::copy(pixels.begin(), pixels.end(), bits);
  return bitmap;
}

bool Contains(const std::vector<std::uint32_t>& pixels, COLORREF colour) {
  const std::uint32_t rgb = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
  return std::any_of(pixels.begin(), pixels.end(), [rgb](std::uint32_t p) { return (p & 0xFFFFFF) == rgb; });
}

// A bitmap resampled; a picture that never used the see-through key gains none of it.
unique_bitmap ScaledBitmap(HBITMAP source, SIZE from, SIZE to) {
  std::vector<std::uint32_t> pixels = PixelsOf(source, from);
  if (pixels.empty()) return {};
  const bool usesKey = Contains(pixels, kSeeThroughKey);
  std::vector<std::uint32_t> scaled = ResamplePixels(pixels, from, to, false);
  if (!usesKey) AvoidColourKey(scaled, kSeeThroughKey);
  return BitmapOf(scaled, to);
}

// An icon resampled with its transparency: the mask becomes alpha for the filter, and
// the result carries both, so every platform draws it alike.
unique_icon ScaledIcon(HICON source, SIZE from, SIZE to) {
  ICONINFO info{};
  if (!::GetIconInfo(source, &info)) return {};
  unique_bitmap mask(info.hbmMask), colour(info.hbmColor);
  std::vector<std::uint32_t> pixels = PixelsOf(colour.get(), from), holes = PixelsOf(mask.get(), from);
  if (pixels.empty() || holes.size() != pixels.size()) return {};
  const bool hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p >> 24; });
  for (size_t i = 0; i < pixels.size(); ++i) {
    std::uint32_t alpha = hasAlpha ? pixels[i] >> 24 : ((holes[i] & 0xFFFFFF) ? 0 : 0xFF);
    pixels[i] = (pixels[i] & 0xFFFFFF) | alpha << 24;
  }
  std::vector<std::uint32_t> scaled = ResamplePixels(pixels, from, to, true);
  std::vector<std::uint32_t> scaledMask(scaled.size());
  for (size_t i = 0; i < scaled.size(); ++i) scaledMask[i] = (scaled[i] >> 24) < 0x80 ? 0xFFFFFF : 0;
  unique_bitmap newColour = BitmapOf(scaled, to);
  unique_bitmap monochrome(::CreateBitmap(to.cx, to.cy, 1, 1, nullptr));
  {
    BITMAPINFO maskInfo = TopDown32(to);
    window_dc screen = GetWindowDc(nullptr);
    ::SetDIBits(screen.get(), monochrome.get(), 0, static_cast<UINT>(to.cy), scaledMask.data(), &maskInfo,
                DIB_RGB_COLORS);
  }
  ICONINFO made{TRUE, 0, 0, monochrome.get(), newColour.get()};
  return unique_icon(::CreateIconIndirect(&made));
}

}  // namespace

PictureRef Picture::FromPixels(SIZE size, std::span<const std::uint32_t> pixels) {
  if (pixels.size() != static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy)) return nullptr;
  auto picture = std::make_shared<Picture>();
  picture->bitmap_ = BitmapOf(pixels, size);
  if (!picture->bitmap_) return nullptr;
  picture->size_ = size;
  return picture;
}

Picture::View Picture::Current() const {
  const int dpi = Display::Dpi();
  if (dpi == kBaseDpi) return {size_, bitmap_.get(), icon_.get()};
  if (scaled_.dpi != dpi) Rescale(dpi);
  return {scaled_.size, scaled_.bitmap.get(), scaled_.icon.get()};
}

void Picture::Rescale(int dpi) const {
  scaled_ = {};
  scaled_.dpi = dpi;
  scaled_.size = {ScaledLength(size_.cx, dpi), ScaledLength(size_.cy, dpi)};
  if (bitmap_) scaled_.bitmap = ScaledBitmap(bitmap_.get(), size_, scaled_.size);
  if (icon_) scaled_.icon = ScaledIcon(icon_.get(), size_, scaled_.size);
  // Should resampling fail, a picture at its stored size is better than none.
  if ((bitmap_ && !scaled_.bitmap) || (icon_ && !scaled_.icon)) scaled_.size = size_;
  if (!scaled_.bitmap && bitmap_)
    scaled_.bitmap.reset(static_cast<HBITMAP>(::CopyImage(bitmap_.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!scaled_.icon && icon_) scaled_.icon.reset(::CopyIcon(icon_.get()));
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
  const View view = Current();
  int drawW = w < view.size.cx ? w : view.size.cx;
  int drawH = h < view.size.cy ? h : view.size.cy;
  if (drawW <= 0 || drawH <= 0) return;
  if (view.icon) {
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, x, y, x + drawW, y + drawH);
    ::DrawIconEx(dc, x, y, view.icon, view.size.cx, view.size.cy, 0, nullptr, DI_NORMAL);
    ::RestoreDC(dc, saved);
    return;
  }
  unique_mem_dc source(::CreateCompatibleDC(dc));
  select_guard select(source.get(), view.bitmap);
  ::BitBlt(dc, x, y, drawW, drawH, source.get(), 0, 0, SRCCOPY);
}

HCURSOR Picture::AsCursor() const {
  const View view = Current();
  if (!view.icon) return nullptr;
  if (cursor_ && cursorDpi_ == Display::Dpi()) return cursor_.get();
  ICONINFO info{};
  if (!::GetIconInfo(view.icon, &info)) return nullptr;
  // GetIconInfo hands over copies of the icon's bitmaps.
  unique_bitmap mask(info.hbmMask), colour(info.hbmColor);
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(view.size.cx / 2);
  info.yHotspot = static_cast<DWORD>(view.size.cy / 2);
  cursor_.reset(reinterpret_cast<HCURSOR>(::CreateIconIndirect(&info)));
  cursorDpi_ = Display::Dpi();
  return cursor_.get();
}
