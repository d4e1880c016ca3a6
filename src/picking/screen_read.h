// How a pick reads the screen so that it gets what the screen shows.
#pragma once
#include <windows.h>

#include <vector>

#include "win32/handles.h"

// The raster operation for a copy from the screen's device context. Where the desktop is
// composed (always from Windows 8 on) every window, layered ones included, is in the screen,
// and a copy that asks for layered windows besides (CAPTUREBLT) makes the cursor blink at every
// copy. Without composition (Windows 7 with the basic or classic theme) layered windows, this
// program's own colour-keyed one among them, are only read with it.
DWORD ScreenCopyRop();

// The virtual screen's rectangle, every monitor's together, in the same pixels.
RECT VirtualScreenRect();
// The monitors' rectangles, in the pixels of the calling thread's awareness.
std::vector<RECT> Monitors();

// Where a pick's pixels come from: the screen as it shows at each read, or a frozen copy of it.
// A screen point (x, y) is at (x - origin.x, y - origin.y) in dc, read with rop.
struct PixelSource {
  HDC dc = nullptr;
  POINT origin{};
  DWORD rop = SRCCOPY;
};

// The screen itself as a source, for as long as this lives.
class LiveScreen {
 public:
  LiveScreen() : dc_(nullptr) {}
  PixelSource Source() const { return {dc_.get(), {}, ScreenCopyRop()}; }

 private:
  window_dc dc_;
};

// One copy of the whole virtual screen, in physical pixels when taken in a PhysicalPixelScope.
// Screen point (x, y) is at (x - Origin().x, y - Origin().y) in Dc().
class ScreenCopy {
 public:
  ScreenCopy();
  ScreenCopy(const ScreenCopy&) = delete;
  ScreenCopy& operator=(const ScreenCopy&) = delete;

  // False where the screen could not be read (a secure desktop, no memory): nothing to show.
  bool Copied() const { return copied_; }
  HDC Dc() const { return dc_.get(); }
  POINT Origin() const { return {bounds_.left, bounds_.top}; }
  const RECT& Bounds() const { return bounds_; }
  // The copied colour at a screen point.
  COLORREF At(POINT screen) const;
  PixelSource Source() const { return {Dc(), Origin(), SRCCOPY}; }

 private:
  RECT bounds_{};
  bool copied_ = false;
  unique_bitmap bitmap_;
  unique_mem_dc dc_;  // destroyed before the bitmap it holds
};
