// The controls a form is built from. Picture boxes, frames, option buttons, text
// boxes and command buttons are real child windows; images, labels and shapes are
// drawn and hit-tested by their container, in creation order.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "formlayer/handles.h"
#include "formlayer/picture.h"

enum class ControlKind { PictureBox, Image, Frame, OptionButton, TextBox, Label, CommandButton, Shape };

// Mouse buttons as events report them.
constexpr short kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;
// Booleans shared with the form runtime are 16-bit: true is -1.
constexpr short kTrue = -1, kFalse = 0;

// System colours are written as 0x80000000 | index, as the form runtime stores them.
constexpr COLORREF SystemColor(int index) { return 0x80000000u | static_cast<COLORREF>(index); }
COLORREF ResolveColor(COLORREF color);

using MouseHandler = std::function<void(short button, short shift, float x, float y)>;

// Anything that raises pointer events: a form's own surface or one of its controls.
class EventTarget {
 public:
  virtual ~EventTarget() = default;
  MouseHandler MouseDown, MouseMove, MouseUp;
  // The pointer held since a press was taken away before the release (a modal box, a task
  // switch, another window's capture): no release will come.
  std::function<void()> CaptureLost;
  virtual HCURSOR Cursor() const { return nullptr; }
};

class Container;

struct TwipsRect {
  float left, top, width, height;
};

class Control : public EventTarget {
 public:
  Control(std::wstring name, ControlKind kind, Container& parent, TwipsRect place);
  const std::wstring& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Container& Parent() const { return parent_; }
  virtual HWND Handle() const { return nullptr; }

  // Position and size in the container's scale unit.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void SetLeft(float left);
  void SetTop(float top);
  const TwipsRect& PlaceTwips() const { return place_; }
  RECT PixelRect() const;  // in the container's client pixels

  // Drawn controls paint themselves into their container and may take pointer input.
  virtual void Paint(HDC) const {}
  virtual bool TakesPointer() const { return true; }

 protected:
  void PlaceChanged(const RECT& before);
  void Invalidate() const;
  virtual void Reposition() {}

 private:
  std::wstring name_;
  ControlKind kind_;
  Container& parent_;
  TwipsRect place_;
};

enum class MousePointer { Default, Custom };

class Image : public Control {
 public:
  using Control::Control;
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
  HFONT font_;
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

// A control that is a child window of its own.
class WindowedControl : public Control {
 public:
  WindowedControl(std::wstring name, ControlKind kind, Container& parent, TwipsRect place);
  ~WindowedControl() override;
  HWND Handle() const override { return window_; }

 protected:
  void Create(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle);
  void Reposition() override;
  HWND window_ = nullptr;
};

class TextBox : public WindowedControl {
 public:
  TextBox(std::wstring name, Container& parent, TwipsRect place, const std::wstring& text, bool locked);
  const std::wstring& Text() const { return text_; }
  // Raises Change inside the write, and only when the text really changes.
  void SetText(const std::wstring& text);
  std::function<void()> Change;
  // The edit window reports a change: a write from anywhere, ours or another program's.
  void OnEditChanged();

 private:
  std::wstring text_;
  bool writing_ = false;
};

class OptionButton : public WindowedControl {
 public:
  OptionButton(std::wstring name, Container& parent, TwipsRect place, const std::wstring& caption);
  bool Value() const;
  void SetValue(bool chosen);  // choosing one clears the others in the same container
  std::function<void()> Click;
  void OnClicked();
};

class CommandButton : public WindowedControl {
 public:
  CommandButton(std::wstring name, Container& parent, TwipsRect place, const std::wstring& caption);
  std::function<void()> Click;
};
