#include "controls/controls.h"

#include <windowsx.h>

#include <cmath>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "controls/container.h"
#include "win32/this_program.h"
#include "win32/display.h"
#include "win32/display_scale.h"

COLORREF ResolveColor(COLORREF color) {
  return (color & 0x80000000u) ? ::GetSysColor(static_cast<int>(color & 0xFFu)) : color;
}

HFONT SharedFont(const FontSpec& font) {
  using Key = std::tuple<std::wstring, float, int, BYTE, int>;
  static std::map<Key, unique_font> fonts;
  const int dpi = Display::Dpi();
  Key key{font.face, font.points, font.weight, font.charset, dpi};
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second.get();
  int height = -static_cast<int>(std::lround(font.points * static_cast<float>(dpi) / 72.0f));
  HFONT made = ::CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, font.charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
  return fonts.emplace(key, unique_font(made)).first->second.get();
}

Control::Control(ControlKind kind, std::wstring name, Container& parent, TwipsRect place)
    : kind_(kind), name_(std::move(name)), parent_(parent), place_(place) {}

void Control::SetPlace(TwipsPoint topLeft) {
  RECT before = PixelRect();
  place_.left = topLeft.x;
  place_.top = topLeft.y;
  RECT after = PixelRect();
  if (!::EqualRect(&before, &after)) PlaceChanged(before);
}

void Control::MoveBy(POINT pixels) {
  const float perPixel = Display::TwipsPerPixel();
  SetPlace({place_.left + static_cast<float>(pixels.x) * perPixel, place_.top + static_cast<float>(pixels.y) * perPixel});
}

POINT Control::PointerOrigin() const {
  const RECT place = PixelRect();
  return {place.left, place.top};
}

RECT Control::PixelRect() const {
  int left = LayoutPixels(place_.left), top = LayoutPixels(place_.top);
  return {left, top, left + LayoutPixels(place_.width), top + LayoutPixels(place_.height)};
}

void Control::PlaceChanged(const RECT& before) {
  if (Handle()) {
    Reposition();
    return;
  }
  parent_.InvalidatePixels(before);
  parent_.InvalidatePixels(PixelRect());
}

void Control::Invalidate() const { parent_.InvalidatePixels(PixelRect()); }

void Image::SetPicture(PictureRef picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Invalidate();
}

void Image::SetMousePointer(MousePointer pointer) {
  pointer_ = pointer;
  // Under capture the system asks nobody for a cursor, so show it now.
  if (Parent().CaptureTarget() == this) {
    HCURSOR cursor = Cursor();
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
  }
}

HCURSOR Image::Cursor() const {
  return pointer_ == MousePointer::Custom && mouseIcon_ ? mouseIcon_->AsCursor() : nullptr;
}

void Image::Paint(HDC dc) const {
  if (!picture_) return;
  RECT r = PixelRect();
  picture_->Draw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Label::Label(std::wstring name, Container& parent, TwipsRect place, std::wstring caption, FontSpec font,
             COLORREF foreColor)
    : Control(ControlKind::Label, std::move(name), parent, place),
      caption_(std::move(caption)),
      font_(std::move(font)),
      foreColor_(foreColor) {}

void Label::Paint(HDC dc) const {
  RECT r = PixelRect();
  select_guard font(dc, SharedFont(font_));
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = ::SetTextColor(dc, ResolveColor(foreColor_));
  ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX);
  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
}

Shape::Shape(std::wstring name, Container& parent, TwipsRect place, COLORREF borderColor)
    : Control(ControlKind::Shape, std::move(name), parent, place), borderColor_(borderColor) {}

void Shape::Paint(HDC dc) const {
  RECT r = PixelRect();
  unique_pen pen(::CreatePen(PS_SOLID, 1, borderColor_));
  select_guard selectPen(dc, pen.get());
  select_guard selectBrush(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

SystemControl::~SystemControl() {
  if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

void SystemControl::Create(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle) {
  RECT r = PixelRect();
  window_ = ::CreateWindowExW(exStyle, windowClass, text.c_str(), style | WS_CHILD | WS_VISIBLE, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, Parent().Window(), nullptr, ThisProgram::Instance(),
                              nullptr);
  if (!window_) throw ControlError("control window cannot be created");
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(FontSpec{})), FALSE);
  Parent().AdoptWindowed(*this);
}

void SystemControl::Rescale() {
  Reposition();
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(FontSpec{})), TRUE);
}

HBRUSH WindowedControl::OnControlColour(HDC dc) { return Parent().ChildBackground(Handle(), dc); }

void WindowedControl::Reposition() {
  RECT r = PixelRect();
  ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// A read-only field is there to be copied from, and a copy should take the whole text: a
// double-click would take a word, which ends at "&" and "#". A click takes it all, and so
// does a double-click; a drag still takes a part. Each field goes on to the procedure it had
// before, whoever put that there (an input method, an accessibility tool, a skin library).
// That procedure is kept here, for the few fields there are, rather than through the common
// controls' subclassing: under Wine that looks its data up at the server on every message,
// and a pen move writes four fields, each write several messages.
struct WholeTextEntry {
  HWND field;
  WNDPROC earlier;
  TextBox* box;
};
std::vector<WholeTextEntry> g_earlierProcedures;

const WholeTextEntry* EntryOf(HWND window) {
  for (const WholeTextEntry& entry : g_earlierProcedures)
    if (entry.field == window) return &entry;
  return nullptr;
}

LRESULT CALLBACK WholeTextField(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  const WholeTextEntry* entry = EntryOf(window);
  if (!entry) return ::DefWindowProcW(window, msg, wp, lp);
  WNDPROC earlier = entry->earlier;
  if (msg == WM_CONTEXTMENU && entry->box->ContextMenu) {
    const bool byKey = lp == -1;
    entry->box->ContextMenu(byKey ? std::nullopt : std::optional<POINT>(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
    return 0;
  }
  if (msg == WM_LBUTTONDBLCLK) {
    ::SendMessageW(window, EM_SETSEL, 0, -1);
    return 0;
  }
  if (msg == WM_NCDESTROY)
    std::erase_if(g_earlierProcedures, [window](const auto& kept) { return kept.field == window; });
  LRESULT result = ::CallWindowProcW(earlier, window, msg, wp, lp);
  if (msg == WM_LBUTTONUP) {
    DWORD start = 0, end = 0;
    ::SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) ::SendMessageW(window, EM_SETSEL, 0, -1);
  }
  return result;
}

void KeepWholeText(HWND field, TextBox& box) {
  auto earlier = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WholeTextField)));
  if (earlier) g_earlierProcedures.push_back({field, earlier, &box});
}

}  // namespace

TextBox::TextBox(std::wstring name, Container& parent, TwipsRect place, const std::wstring& text, bool locked)
    : SystemControl(ControlKind::TextBox, std::move(name), parent, place), text_(text) {
  writing_ = true;
  Create(L"EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL | (locked ? ES_READONLY : 0), WS_EX_CLIENTEDGE);
  writing_ = false;
  if (locked) KeepWholeText(window_, *this);
}

void TextBox::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  writing_ = true;
  ::SetWindowTextW(window_, text_.c_str());
  writing_ = false;
  if (Change) Change();
}

void TextBox::OnCommand(WORD code) {
  if (code != EN_CHANGE || writing_) return;
  std::wstring now = WindowText(window_);
  if (now == text_) return;
  text_ = std::move(now);
  if (Change) Change();
}

// Editable or not, a text box shows the window colour, not its container's skin.
HBRUSH TextBox::OnControlColour(HDC dc) {
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  return ::GetSysColorBrush(COLOR_WINDOW);
}

OptionButton::OptionButton(std::wstring name, Container& parent, TwipsRect place, const std::wstring& caption)
    : SystemControl(ControlKind::OptionButton, std::move(name), parent, place) {
  Create(L"BUTTON", caption, WS_TABSTOP | BS_RADIOBUTTON, 0);
}

bool OptionButton::Value() const { return ::SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OptionButton::SetValue(bool chosen) {
  if (chosen) {
    for (WindowedControl* sibling : Parent().WindowedChildren())
      if (sibling != this) sibling->OnOptionChosenBeside();
  }
  ::SendMessageW(window_, BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OptionButton::OnOptionChosenBeside() { ::SendMessageW(window_, BM_SETCHECK, BST_UNCHECKED, 0); }

void OptionButton::OnCommand(WORD code) {
  if (code != BN_CLICKED) return;
  SetValue(true);
  if (Click) Click();
}

CommandButton::CommandButton(std::wstring name, Container& parent, TwipsRect place, const std::wstring& caption)
    : SystemControl(ControlKind::CommandButton, std::move(name), parent, place) {
  Create(L"BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, 0);
}

void CommandButton::OnCommand(WORD code) {
  if (code == BN_CLICKED && Click) Click();
}

int LayoutPixels(float twips) { return TwipsToPixelsAt(twips, Display::Dpi()); }
