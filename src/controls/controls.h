// The controls a form is built from. Picture boxes, frames, option buttons, text
// boxes and command buttons are real child windows; images, labels and shapes are
// drawn and hit-tested by their container, in creation order.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/picture.h"
#include "win32/handles.h"

enum class ControlKind { PictureBox, Image, Frame, OptionButton, TextBox, Label, CommandButton, Shape };

// A window or a control that could not be made: the window it belongs to cannot be built.
class ControlError : public std::exception {
 public:
  explicit ControlError(const char* what) noexcept : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

// Twips of the control table as whole pixels at the resolution windows are laid out at now;
// halves away from zero.
int LayoutPixels(float twips);

enum class MouseButton { None, Left, Right, Middle };

// System colours are written as 0x80000000 | index, as the control table stores them.
constexpr COLORREF SystemColor(int index) { return 0x80000000u | static_cast<COLORREF>(index); }
COLORREF ResolveColor(COLORREF color);

struct TwipsRect {
  float left, top, width, height;
};
struct TwipsPoint {
  float x, y;
};

// What a control does with the pointer. A press sends the pressed control its moves and its
// release wherever the pointer goes, until the release; points are in the control's own pixels.
class PointerHandler {
 public:
  virtual void OnPress(MouseButton /*button*/, POINT /*at*/) {}
  // `held`: Left while the left button is held, else the first other button held, or None.
  virtual void OnMove(MouseButton /*held*/, POINT /*at*/) {}
  virtual void OnRelease(MouseButton /*button*/, POINT /*at*/) {}
  // The pointer held since a press was taken away before the release (a modal box, a task
  // switch, another window's capture): no release will come.
  virtual void OnPointerLost() {}

 protected:
  ~PointerHandler() = default;
};

// Anything that takes the pointer: a form's own surface or one of its controls.
class EventTarget {
 public:
  virtual ~EventTarget() = default;
  PointerHandler* Pointer() const { return pointer_; }
  void SetPointerHandler(PointerHandler* handler) { pointer_ = handler; }
  virtual HCURSOR Cursor() const { return nullptr; }
  // Where the target's own pixels start, in the client pixels of the window that gets its input.
  virtual POINT PointerOrigin() const { return {0, 0}; }

 private:
  PointerHandler* pointer_ = nullptr;
};

class Container;

class Control : public EventTarget {
 public:
  Control(ControlKind kind, std::wstring name, Container& parent, TwipsRect place);
  const std::wstring& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Container& Parent() const { return parent_; }
  virtual HWND Handle() const { return nullptr; }
  // The container a frame or picture box is; nullptr for a control that holds none.
  virtual Container* AsContainer() { return nullptr; }

  // The place as the control table keeps it, in twips of the container.
  const TwipsRect& Place() const { return place_; }
  void SetPlace(TwipsPoint topLeft);
  // Moves by whole pixels of the layout.
  void MoveBy(POINT pixels);
  RECT PixelRect() const;  // in the container's client pixels

  // Drawn controls paint themselves into their container and may take pointer input.
  virtual void Paint(HDC) const {}
  virtual bool TakesPointer() const { return true; }
  POINT PointerOrigin() const override;
  // The display resolution changed: a windowed control takes its new place and size.
  virtual void Rescale() {}

 protected:
  void PlaceChanged(const RECT& before);
  void Invalidate() const;
  virtual void Reposition() {}

 private:
  ControlKind kind_;
  std::wstring name_;
  Container& parent_;
  TwipsRect place_;
};

enum class MousePointer { Default, Custom };

class Image : public Control {
 public:
  Image(std::wstring name, Container& parent, TwipsRect place)
      : Control(ControlKind::Image, std::move(name), parent, place) {}
  const PictureRef& Picture() const { return picture_; }
  // Showing the picture that already shows repaints nothing.
  void SetPicture(PictureRef picture);
  void SetMouseIcon(PictureRef icon) { mouseIcon_ = std::move(icon); }
  void SetMousePointer(MousePointer pointer);
  MousePointer Pointer() const { return pointer_; }
  HCURSOR Cursor() const override;
  void Paint(HDC dc) const override;

 private:
  PictureRef picture_;
  PictureRef mouseIcon_;
  MousePointer pointer_ = MousePointer::Default;
};

struct FontSpec {
  std::wstring face = L"宋体";
  float points = 9.0f;
  int weight = FW_NORMAL;
  BYTE charset = GB2312_CHARSET;
};
// The font at the resolution windows are laid out at now.
HFONT SharedFont(const FontSpec& font);

class Label : public Control {
 public:
  Label(std::wstring name, Container& parent, TwipsRect place, std::wstring caption, FontSpec font,
        COLORREF foreColor);
  const std::wstring& Caption() const { return caption_; }
  COLORREF ForeColor() const { return foreColor_; }
  void Paint(HDC dc) const override;

 private:
  std::wstring caption_;
  FontSpec font_;
  COLORREF foreColor_;
};

class Shape : public Control {
 public:
  Shape(std::wstring name, Container& parent, TwipsRect place, COLORREF borderColor);
  void Paint(HDC dc) const override;
  bool TakesPointer() const override { return false; }

 private:
  COLORREF borderColor_;
};

// A control that is a child window of its own: a container of ours or a system control.
class WindowedControl : public Control {
 public:
  using Control::Control;
  HWND Handle() const override = 0;
  // Its own window gets its pointer input, in its own client coordinates.
  POINT PointerOrigin() const override { return {0, 0}; }
  // A notification the window sent its container (WM_COMMAND's code).
  virtual void OnCommand(WORD /*code*/) {}
  // The brush the container answers WM_CTLCOLOR* with: by default its own background.
  virtual HBRUSH OnControlColour(HDC dc);
  // Another option button in the same container was chosen.
  virtual void OnOptionChosenBeside() {}
  void Rescale() override { Reposition(); }

 protected:
  void Reposition() override;
};

// A child window of a system class (EDIT, BUTTON).
class SystemControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  ~SystemControl() override;
  HWND Handle() const override { return window_; }
  void Rescale() override;

 protected:
  void Create(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle);
  HWND window_ = nullptr;
};

// A locked text box is read-only to the user, and a click in it selects its whole text.
class TextBox : public SystemControl {
 public:
  TextBox(std::wstring name, Container& parent, TwipsRect place, const std::wstring& text, bool locked);
  const std::wstring& Text() const { return text_; }
  // Raises Change inside the write, and only when the text really changes.
  void SetText(const std::wstring& text);
  std::function<void()> Change;
  // A read-only field's context menu in the place of the edit's own: a right click (at its screen
  // point), or the context-menu key or Shift+F10 (no point), whoever sent the request.
  std::function<void(std::optional<POINT> at)> ContextMenu;
  // EN_CHANGE: a write from anywhere, ours or another program's.
  void OnCommand(WORD code) override;
  HBRUSH OnControlColour(HDC dc) override;

 private:
  std::wstring text_;
  bool writing_ = false;
};

class OptionButton : public SystemControl {
 public:
  OptionButton(std::wstring name, Container& parent, TwipsRect place, const std::wstring& caption);
  bool Value() const;
  void SetValue(bool chosen);  // choosing one clears the others in the same container
  std::function<void()> Click;
  void OnCommand(WORD code) override;
  void OnOptionChosenBeside() override;
};

class CommandButton : public SystemControl {
 public:
  CommandButton(std::wstring name, Container& parent, TwipsRect place, const std::wstring& caption);
  std::function<void()> Click;
  void OnCommand(WORD code) override;
};
