// Windows that hold controls: forms, frames and picture boxes. A container routes
// pointer input to its drawn controls or its own surface and keeps the pointer from
// press to release, so a drag keeps reporting wherever the pointer goes.
#pragma once
#include <windows.h>

#include <vector>

#include "formlayer/controls.h"

class Container {
 public:
  virtual ~Container() = default;
  virtual HWND Window() const = 0;
  // Twips per scale unit of this container: 1 when it measures in twips.
  virtual float TwipsPerUnitX() const { return 1.0f; }
  virtual float TwipsPerUnitY() const { return 1.0f; }
  // The container's own pointer events (a form's surface, a picture box).
  virtual EventTarget& Surface() = 0;
  // Paints what shows behind the children at rect (in this container's pixels).
  virtual void PaintBackground(HDC dc, const RECT& rect) const = 0;

  void AdoptDrawn(Control& control) { drawn_.push_back(&control); }
  void AdoptWindowed(Control& control) { windowed_.push_back(&control); }
  const std::vector<Control*>& WindowedChildren() const { return windowed_; }
  const EventTarget* CaptureTarget() const { return captured_; }
  void InvalidatePixels(const RECT& rect) const;

  // The message handling shared by every container window; true when handled.
  bool HandleContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  void PaintDrawnControls(HDC dc) const;
  // Children that draw their own background ask for it again after it changed.
  void BackgroundChanged();

 private:
  EventTarget& TargetAt(POINT pt);
  void Raise(EventTarget& target, const MouseHandler& handler, short button, short shift, POINT pt);
  bool RoutePointer(UINT msg, WPARAM wp, LPARAM lp);
  void LoseCapture();
  void RouteCommand(HWND child, WORD code);
  HBRUSH ChildBackground(HWND child, HDC dc);

  void ShowCursorOf(EventTarget& target) const;

  std::vector<Control*> drawn_;
  std::vector<Control*> windowed_;
  EventTarget* captured_ = nullptr;
  unique_brush childBrush_;
};

// Our own window classes call the object stored with the window.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual LRESULT OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) = 0;
};
// Registers (once) and names the window class for forms, frames or picture boxes.
const wchar_t* HostWindowClass(const wchar_t* name);
HWND CreateHostWindow(WindowHost& host, const wchar_t* className, const std::wstring& text, DWORD style,
                      DWORD exStyle, const RECT& rect, HWND parent);

class Frame : public WindowedControl, public Container, public WindowHost {
 public:
  Frame(std::wstring name, Container& parent, TwipsRect place, std::wstring caption);
  HWND Window() const override { return window_; }
  EventTarget& Surface() override { return *this; }
  void PaintBackground(HDC dc, const RECT& rect) const override;
  LRESULT OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintFrame(HDC dc) const;
  std::wstring caption_;
};

// A picture box keeps its graphics in a memory bitmap, so its device context
// always holds what it shows and a point read never depends on what covers it.
class PictureBox : public WindowedControl, public Container, public WindowHost {
 public:
  PictureBox(std::wstring name, Container& parent, TwipsRect place, COLORREF backColor, PictureRef picture);
  HWND Window() const override { return window_; }
  EventTarget& Surface() override { return *this; }
  void PaintBackground(HDC dc, const RECT& rect) const override;
  LRESULT OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) override;

  COLORREF BackColor() const { return backColor_; }
  // Clears the persistent graphics to the colour, with the picture over it.
  void SetBackColor(COLORREF color);
  void SetPicture(PictureRef picture);
  const PictureRef& Picture() const { return picture_; }
  HDC hDC() const { return backingDc_.get(); }
  // Colour at (x, y) in the box's unit (twips), -1 outside the box.
  long Point(float x, float y) const;
  void Refresh() const;

 private:
  void Redraw();
  COLORREF backColor_;
  PictureRef picture_;
  SIZE pixels_{};
  unique_bitmap backing_;
  unique_mem_dc backingDc_;  // destroyed before the bitmap it holds
  HGDIOBJ originalBitmap_ = nullptr;
};
