// A form: a top-level window built from its stored layout, with named controls,
// the load / activate / unload events and the operations the program uses.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/container.h"

// One control of a stored layout. Geometry is in twips relative to the container.
struct ControlSpec {
  ControlKind kind;
  const wchar_t* name;
  const wchar_t* container = nullptr;  // nullptr: the form itself
  TwipsRect place{};
  const wchar_t* text = L"";  // caption or initial text
  int picture = 0;            // resource id of an icon or a bitmap, 0 for none
  PictureRef (*drawnPicture)() = nullptr;  // a picture drawn at start rather than stored
  int mouseIcon = 0;
  COLORREF backColor = SystemColor(COLOR_BTNFACE);
  COLORREF foreColor = SystemColor(COLOR_BTNTEXT);
  FontSpec font{};
  bool chosen = false;  // option button
  bool locked = false;  // text box the user cannot edit
  const wchar_t* toolTip = nullptr;
};

struct FormSpec {
  const wchar_t* caption;
  float clientWidth, clientHeight;  // twips
  bool borderless = false;
  bool inTaskbar = true;
  // The main form: the resolution of its monitor is the one every window is laid out at. Any
  // other form follows it, and a change of resolution told to one changes nothing.
  bool ownsResolution = false;
  int picture = 0;
  int icon = 0;
  COLORREF backColor = SystemColor(COLOR_BTNFACE);
  // Above every window that is not, from its creation: made so later, the window is made anew
  // under Wine, which costs a start half as much as all its controls.
  bool topmost = false;
  // Made layered, its pixels of this colour (its back colour too) see-through; CLR_INVALID: opaque.
  COLORREF seeThroughKey = CLR_INVALID;
  std::span<const ControlSpec> controls{};
  std::span<const wchar_t* const> tabOrder{};
};

// A menu of a form, shown only as a pop-up. The menu shown owns its items, and what they do,
// for as long as it is open.
struct MenuItem {
  std::wstring name;
  // As the system reads it: "&" marks the mnemonic after it, and a text that should read "&"
  // passes through MenuText. "-" is a separator line; a tab puts the rest at the right.
  std::wstring caption;
  std::function<void()> Click;
  std::vector<MenuItem> items = {};  // a submenu's
  bool enabled = true;
  std::optional<COLORREF> swatch = std::nullopt;  // a square of this colour before the caption
};
struct Menu {
  std::wstring name;
  std::wstring caption;
  std::vector<MenuItem> items;
};
// A caption that reads exactly as the text does: each "&" doubled, so that none marks a mnemonic.
std::wstring MenuText(std::wstring_view text);

class Form : public Container, public EventTarget {
 public:
  // Creates the window and its controls, hidden; Load and Show follow.
  explicit Form(const FormSpec& layout);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  ~Form() override;

  // Runs OnLoad once; Show loads a form that is not loaded yet.
  void Load();
  HWND hWnd() const { return Window(); }
  EventTarget& Surface() override { return *this; }

  std::wstring Caption() const;
  HICON Icon() const;
  void Show();
  void Hide();
  bool Visible() const;
  bool Minimised() const;
  void SetMinimised(bool minimised);
  void RequestClose();  // asks OnCloseRequest; a form that keeps itself stays

  // The outer rectangle in screen pixels.
  RECT Place() const;
  void MoveTo(const RECT& place);
  void SetBackColor(COLORREF color);
  COLORREF BackColor() const { return backColor_; }
  void PaintBackground(HDC dc, const RECT& rect) const override;

  // Lays the form out at another display resolution and places it: see RescaledPlace.
  void ApplyDpi(int dpi);

  // Pops a menu up at the pointer, made afresh from its items, which it keeps until it returns:
  // after the chosen item's Click ran. One at a time on the thread, as the system has it: asked
  // while a menu is open (another program may send the message that opens one), it does nothing.
  void PopupMenu(Menu menu, std::optional<POINT> at = std::nullopt);  // at the pointer where none is given
  static bool MenuOpen();

  Control& FindControl(const std::wstring& name) const;
  // The control of that name as its own class.
  template <typename T>
  T& Get(const std::wstring& name) const {
    auto* control = dynamic_cast<T*>(&FindControl(name));
    if (!control) throw ControlError("control of another kind");
    return *control;
  }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& area) override;
  virtual void OnLoad() {}
  virtual void OnActivate() {}
  // True keeps the form: the close goes no further.
  virtual bool OnCloseRequest() { return false; }
  // After the form was laid out again at another display resolution.
  virtual void OnRescaled() {}

 private:
  void CreateWindowFor(const FormSpec& layout);
  void CreateControl(const ControlSpec& layout);
  void ApplyTabOrder(std::span<const wchar_t* const> order);
  void AddToolTip(const Control& control, const wchar_t* text);
  HWND ToolTips();
  void MoveToolTips() const;
  Container& ContainerNamed(const wchar_t* name);
  PictureRef LoadPicture(int id);
  SIZE LaidOutSize() const;  // the window's size at the current resolution
  void ShowIcon() const;
  void OnDpiChanged();

  bool loaded_ = false;
  bool ownsResolution_ = false;
  bool moving_ = false;  // inside the system's move loop
  unique_window toolTips_;
  std::vector<std::pair<size_t, const wchar_t*>> tips_;  // each control's (by its index) tip text
  TwipsPoint clientTwips_{};
  COLORREF backColor_ = 0;
  PictureRef picture_;
  PictureRef icon_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, PictureRef> pictures_;
};
