// Picture objects: a bitmap or an icon that several controls may show at once. A
// picture is stored for 96 dpi and shows at the resolution windows are laid out at
// now: above 96 dpi it shows a resampled copy, made once per resolution.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>

#include "win32/handles.h"

// A 32-bit bitmap whose pixels lie in memory as 0xAARRGGBB rows, top row first.
unique_bitmap TopDownBitmap(SIZE size, std::uint32_t** pixels);

// A packed bitmap (a BITMAPINFOHEADER, its colour table and its bits) in 8-bit run-length
// coding, the form the pictures are stored in, as an 8-bit DIB section with the same colours,
// decoded by GDI. None when the data is of another form, its header or table is cut off, or
// GDI refuses the codes.
unique_bitmap SectionFromRle8(std::span<const BYTE> packed);

class Picture {
 public:
  static std::shared_ptr<const Picture> FromBitmapResource(int id);
  static std::shared_ptr<const Picture> FromIconResource(int id);
  // 0xFFRRGGBB rows, top row first: for a picture drawn rather than stored.
  static std::shared_ptr<const Picture> FromPixels(SIZE size, std::span<const std::uint32_t> pixels);

  // At the current resolution.
  SIZE Size() const { return Current().size; }
  HICON Icon() const { return Current().icon; }
  // Draws at (x, y) at its own size, clipped to w x h as an unstretched image is.
  void Draw(HDC dc, int x, int y, int w, int h) const;
  // The icon as a mouse cursor with its hot spot at the centre.
  HCURSOR AsCursor() const;

 private:
  struct View {
    SIZE size;
    HBITMAP bitmap;
    HICON icon;
  };
  struct Scaled {
    int dpi = 0;
    SIZE size{};
    unique_bitmap bitmap;
    unique_icon icon;
  };
  View Current() const;
  void Rescale(int dpi) const;

  unique_bitmap bitmap_;
  unique_icon icon_;
  SIZE size_{};  // at 96 dpi
  mutable Scaled scaled_;
  mutable unique_cursor cursor_;
  mutable int cursorDpi_ = 0;
};
using PictureRef = std::shared_ptr<const Picture>;
