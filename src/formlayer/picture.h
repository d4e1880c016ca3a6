// Picture objects: a bitmap or an icon that several controls may show at once.
#pragma once
#include <windows.h>

#include <memory>

#include "formlayer/handles.h"

class Picture {
 public:
  static std::shared_ptr<const Picture> FromBitmapResource(int id);
  static std::shared_ptr<const Picture> FromIconResource(int id);

  SIZE Size() const { return size_; }
  HICON Icon() const { return icon_.get(); }
  HBITMAP Bitmap() const { return bitmap_.get(); }
  // Draws at (x, y) at its own size, clipped to w x h as an unstretched image is.
  void Draw(HDC dc, int x, int y, int w, int h) const;
  // The icon as a mouse cursor with its hot spot at the centre.
  HCURSOR AsCursor() const;

 private:
  unique_bitmap bitmap_;
  unique_icon icon_;
  mutable unique_cursor cursor_;
  SIZE size_{};
};
using PictureRef = std::shared_ptr<const Picture>;
