#include "formlayer/picture.h"

#include "formlayer/runtime.h"

PictureRef Picture::FromBitmapResource(int id) {
  auto picture = std::make_shared<Picture>();
  picture->bitmap_.reset(static_cast<HBITMAP>(
      ::LoadImageW(App::Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!picture->bitmap_) throw FormError("bitmap resource missing");
  BITMAP info{};
  ::GetObjectW(picture->bitmap_.get(), sizeof info, &info);
  picture->size_ = {info.bmWidth, info.bmHeight};
  return picture;
}

PictureRef Picture::FromIconResource(int id) {
  auto picture = std::make_shared<Picture>();
  picture->icon_.reset(static_cast<HICON>(
      ::LoadImageW(App::Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR)));
  if (!picture->icon_) throw FormError("icon resource missing");
  picture->size_ = {48, 48};
  return picture;
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
  int drawW = w < size_.cx ? w : size_.cx;
  int drawH = h < size_.cy ? h : size_.cy;
  if (drawW <= 0 || drawH <= 0) return;
  if (icon_) {
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, x, y, x + drawW, y + drawH);
    ::DrawIconEx(dc, x, y, icon_.get(), size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
    ::RestoreDC(dc, saved);
    return;
  }
  unique_mem_dc source(::CreateCompatibleDC(dc));
  select_guard select(source.get(), bitmap_.get());
  ::BitBlt(dc, x, y, drawW, drawH, source.get(), 0, 0, SRCCOPY);
}

HCURSOR Picture::AsCursor() const {
  if (cursor_ || !icon_) return cursor_.get();
  ICONINFO info{};
  if (!::GetIconInfo(icon_.get(), &info)) return nullptr;
  // GetIconInfo hands over copies of the icon's bitmaps.
  unique_bitmap mask(info.hbmMask), colour(info.hbmColor);
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(size_.cx / 2);
  info.yHotspot = static_cast<DWORD>(size_.cy / 2);
  cursor_.reset(reinterpret_cast<HCURSOR>(::CreateIconIndirect(&info)));
  return cursor_.get();
}
