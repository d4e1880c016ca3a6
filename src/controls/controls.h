// The controls a form is built from. Picture boxes, frames, option buttons, text
// boxes and command buttons are real child windows; images, labels and shapes are
// drawn and hit-tested by their container, in creation order.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/picture.h"
#include "win32/handles.h"

enum class ControlKind { PictureBox, Image, Frame, OptionButton, TextBox, Label, CommandButton, Shape };

// Mouse buttons as events report them.
constexpr short kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

// System colours are written as 0x80000000 | index, as the form runtime stores them.
constexpr COLORREF SystemColor(int index) { return 0x80000000u | static_cast<COLORREF>(index); }
COLORREF ResolveColor(COLORREF color);

using MouseHandler = std::function<void(short button, short shift, float x, float y)>;

struct TwipsRect {
  float left, top, width, height;
};
struct TwipsPoint {
  float x, y;
};

// Anything that raises pointer events: a form's own surface or one of its controls.
class EventTarget {
 public:
  virtual ~EventTarget() = default;
  MouseHandler MouseDown, MouseMove, MouseUp;
  // The pointer held since a press was taken away before the release (a modal box, a task
  // switch, another window's capture): no release will come.
  std::function<void()> CaptureLost;
  virtual HCURSOR Cursor() const { return nullptr; }
  // Where the target's own coordinates start, in twips of the window that gets its pointer input.
  virtual TwipsPoint PointerOrigin() const { return {0, 0}; }
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

  // Position and size in the container's scale unit.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void SetLeft(float left);
  void SetTop(float top);
  RECT PixelRect() const;  // in the container's client pixels

  // Drawn controls paint themselves into their container and may take pointer input.
  virtual void Paint(HDC) const {}
  virtual bool TakesPointer() const { return true; }
  TwipsPoint PointerOrigin() const override { return {place_.left, place_.top}; }
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
  TwipsPoint PointerOrigin() const override { return {0, 0}; }
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
