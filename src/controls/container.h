// Windows that hold controls: forms, frames and picture boxes. A container routes
// pointer input to its drawn controls or its own surface and keeps the pointer from
// press to release, so a drag keeps reporting wherever the pointer goes.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "controls/controls.h"
#include "win32/base_window.h"

class Container : public BaseWindow {
 public:
  // The container's own pointer events (a form's surface, a picture box).
  virtual EventTarget& Surface() = 0;
  // Paints what shows behind the children at rect (in this container's pixels).
  virtual void PaintBackground(HDC dc, const RECT& rect) const = 0;

  void AdoptDrawn(Control& control) { drawn_.push_back(&control); }
  void AdoptWindowed(WindowedControl& control) { windowed_.push_back(&control); }
  const std::vector<WindowedControl*>& WindowedChildren() const { return windowed_; }
  const EventTarget* CaptureTarget() const { return captured_; }
  void InvalidatePixels(const RECT& rect) const;
  // This container's background as a brush aligned under the child, so captions sit on the skin.
  HBRUSH ChildBackground(HWND child, HDC dc);
  // The tip window that shows tips over this container's controls, made when the pointer first
  // comes: it is handed the container's pointer messages, so it needs no hook in the container's window.
  void RelayPointerTo(std::function<HWND()> toolTips) { toolTips_ = std::move(toolTips); }
  // Hands every message to `watcher` first, until it is taken away (nullptr); a message it
  // answers true to goes no further. For an interaction under way, with no subclass: under
  // Wine a subclass costs a server look-up on every message.
  class Watcher {
   public:
    virtual bool OnWatchedMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

   protected:
    ~Watcher() = default;
  };
  void Watch(Watcher* watcher) { watcher_ = watcher; }

 protected:
  // The message handling shared by every container window.
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void PaintDrawnControls(HDC dc) const;
  // Children that draw their own background ask for it again after it changed.
  void BackgroundChanged();

 private:
  Watcher* watcher_ = nullptr;
  EventTarget& TargetAt(POINT pt);
  bool RoutePointer(UINT msg, WPARAM wp, LPARAM lp);
  void RelayToToolTips(UINT msg, WPARAM wp, LPARAM lp) const;
  WindowedControl* WindowedChild(HWND window) const;
  void LoseCapture();

  void ShowCursorOf(EventTarget& target) const;

  std::vector<Control*> drawn_;
  std::vector<WindowedControl*> windowed_;
  EventTarget* captured_ = nullptr;
  std::function<HWND()> toolTips_;
  std::vector<std::pair<HWND, unique_brush>> childBrushes_;
};

class Frame : public WindowedControl, public Container {
 public:
  Frame(std::wstring name, Container& parent, TwipsRect place, std::wstring caption);
  HWND Handle() const override { return Window(); }
  Container* AsContainer() override { return this; }
  EventTarget& Surface() override { return *this; }
  void PaintBackground(HDC dc, const RECT& rect) const override;
  void Rescale() override;

 protected:
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  std::wstring caption_;
};

// A picture box keeps its graphics in a memory bitmap, so its device context
// always holds what it shows and a point read never depends on what covers it.
class PictureBox : public WindowedControl, public Container {
 public:
  PictureBox(std::wstring name, Container& parent, TwipsRect place, COLORREF backColor, PictureRef picture);
  ~PictureBox() override;
  HWND Handle() const override { return Window(); }
  Container* AsContainer() override { return this; }
  EventTarget& Surface() override { return *this; }
  void PaintBackground(HDC dc, const RECT& rect) const override;

  COLORREF BackColor() const { return backColor_; }
  // Clears the persistent graphics to the colour, with the picture over it.
  void SetBackColor(COLORREF color);
  void SetPicture(PictureRef picture);
  const PictureRef& Picture() const { return picture_; }
  HDC hDC() const { return backingDc_.get(); }
  // The colour at a pixel of the box; none outside it.
  std::optional<COLORREF> ColourAt(POINT at) const;
  void Refresh() const;
  // The persistent graphics start again at the new size: back colour and picture.
  void Rescale() override;

 protected:
  void OnPaint(HDC dc, const RECT& area) override;

 private:
  void Redraw();
  void MakeBacking();
  COLORREF backColor_;
  PictureRef picture_;
  SIZE pixels_{};
  unique_bitmap backing_;
  unique_mem_dc backingDc_;  // destroyed before the bitmap it holds
  HGDIOBJ originalBitmap_ = nullptr;
};
