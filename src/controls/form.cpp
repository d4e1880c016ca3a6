#include "controls/form.h"

#include <commctrl.h>

#include <cmath>

#include "win32/this_program.h"
#include "win32/display.h"
#include "win32/display_scale.h"
#include "win32/handles.h"

// The window goes first, while the controls whose windows it holds still answer.
Form::~Form() {
  toolTips_.reset();
  DetachThenDestroy();
}

Form::Form(const FormSpec& layout) {
  backColor_ = ResolveColor(layout.seeThroughKey != CLR_INVALID ? layout.seeThroughKey : layout.backColor);
  if (layout.picture) picture_ = LoadPicture(layout.picture);
  if (layout.icon) icon_ = LoadPicture(layout.icon);
  CreateWindowFor(layout);
  for (const ControlSpec& control : layout.controls) CreateControl(control);
  ApplyTabOrder(layout.tabOrder);
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  OnLoad();
}

void Form::CreateWindowFor(const FormSpec& layout) {
  DWORD style = WS_CLIPCHILDREN | (layout.borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW);
  DWORD exStyle = WS_EX_CONTROLPARENT | (layout.inTaskbar ? WS_EX_APPWINDOW : 0) | (layout.topmost ? WS_EX_TOPMOST : 0) |
                  (layout.seeThroughKey != CLR_INVALID ? WS_EX_LAYERED : 0);
  clientTwips_ = {layout.clientWidth, layout.clientHeight};
  ownsResolution_ = layout.ownsResolution;
  Display::SettleThreadAwareness();
  if (!CreateOwnWindow(L"HuevikForm", layout.caption, style, exStyle,
                       RECT{0, 0, LaidOutSize().cx, LaidOutSize().cy}, nullptr))
    throw ControlError("window cannot be created");
  if (layout.seeThroughKey != CLR_INVALID) ::SetLayeredWindowAttributes(Window(), layout.seeThroughKey, 0, LWA_COLORKEY);
  // The monitor the main window came up on may differ from the system's resolution: lay out for
  // the monitor, before any control is made.
  if (int dpi = Display::DpiOfWindow(Window()); ownsResolution_ && dpi != Display::Dpi()) {
    Display::SetDpi(dpi);
    ::SetWindowPos(Window(), nullptr, 0, 0, LaidOutSize().cx, LaidOutSize().cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowIcon();
}

SIZE Form::LaidOutSize() const {
  RECT rect{0, 0, LayoutPixels(clientTwips_.x), LayoutPixels(clientTwips_.y)};
  const auto style = static_cast<DWORD>(Window() ? ::GetWindowLongPtrW(Window(), GWL_STYLE) : WS_POPUP);
  const auto exStyle = static_cast<DWORD>(Window() ? ::GetWindowLongPtrW(Window(), GWL_EXSTYLE) : 0);
  if (!(style & WS_POPUP) || (style & WS_CAPTION) == WS_CAPTION) ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Form::ShowIcon() const {
  if (!icon_) return;
  ::SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Icon()));
  ::SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_->Icon()));
}

// The monitor under the window changed its resolution, or the window moved to one of
// another: everything is laid out again from the twips, and the pictures show their
// copies for the new resolution.
void Form::ApplyDpi(int dpi) {
  RECT before{};
  ::GetWindowRect(Window(), &before);
  Display::SetDpi(dpi);
  BackgroundChanged();
  for (const auto& control : controls_) control->Rescale();
  MoveToolTips();
  ShowIcon();
  POINT pointer{};
  const bool grip = moving_ && ::GetCursorPos(&pointer);
  RECT place = RescaledPlace(before, LaidOutSize(), grip ? &pointer : nullptr);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  HMONITOR on = ::MonitorFromRect(&place, MONITOR_DEFAULTTONULL);
  ::GetMonitorInfoW(on ? on : ::MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor);
  place = KeptOnMonitor(place, on != nullptr, monitor.rcWork);
  ::SetWindowPos(Window(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  OnRescaled();
}

// The message's parameters are not read: anyone may post or send it, with any rectangle or
// none. The window asks the system for its own resolution and places itself.
void Form::OnDpiChanged() {
  const int dpi = Display::DpiOfWindow(Window());
  if (dpi != Display::Dpi()) ApplyDpi(dpi);
}

// A picture that cannot be loaded leaves its control without one: that step alone fails.
PictureRef Form::LoadPicture(int id) {
  auto found = pictures_.find(id);
  if (found != pictures_.end()) return found->second;
  const bool isIcon =
      ::FindResourceW(ThisProgram::Instance(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  PictureRef picture = isIcon ? Picture::FromIconResource(id) : Picture::FromBitmapResource(id);
  pictures_[id] = picture;
  return picture;
}

Container& Form::ContainerNamed(const wchar_t* name) {
  if (!name) return *this;
  Container* container = FindControl(name).AsContainer();
  if (!container) throw ControlError("a control that holds no controls");
  return *container;
}

Control& Form::FindControl(const std::wstring& name) const {
  for (const auto& control : controls_)
    if (control->Name() == name) return *control;
  throw ControlError("no such control");
}

void Form::CreateControl(const ControlSpec& layout) {
  Container& parent = ContainerNamed(layout.container);
  PictureRef picture = layout.drawnPicture ? layout.drawnPicture()
                       : layout.picture    ? LoadPicture(layout.picture)
                                           : nullptr;
  std::unique_ptr<Control> control;
  switch (layout.kind) {
    case ControlKind::PictureBox:
      control = std::make_unique<PictureBox>(layout.name, parent, layout.place, layout.backColor, picture);
      break;
    case ControlKind::Frame:
      control = std::make_unique<Frame>(layout.name, parent, layout.place, layout.text);
      break;
    case ControlKind::OptionButton: {
      auto option = std::make_unique<OptionButton>(layout.name, parent, layout.place, layout.text);
      if (layout.chosen) option->SetValue(true);
      control = std::move(option);
      break;
    }
    case ControlKind::TextBox:
      control = std::make_unique<TextBox>(layout.name, parent, layout.place, layout.text, layout.locked);
      break;
    case ControlKind::CommandButton:
      control = std::make_unique<CommandButton>(layout.name, parent, layout.place, layout.text);
      break;
    case ControlKind::Image: {
      auto image = std::make_unique<Image>(layout.name, parent, layout.place);
      image->SetPicture(picture);
      if (layout.mouseIcon) image->SetMouseIcon(LoadPicture(layout.mouseIcon));
      control = std::move(image);
      break;
    }
    case ControlKind::Label:
      control = std::make_unique<Label>(layout.name, parent, layout.place, layout.text, layout.font, layout.foreColor);
      break;
    case ControlKind::Shape:
      control = std::make_unique<Shape>(layout.name, parent, layout.place, layout.foreColor);
      break;
  }
  if (!control->Handle()) parent.AdoptDrawn(*control);
  if (layout.toolTip) AddToolTip(*control, layout.toolTip);
  controls_.push_back(std::move(control));
}

// A control's tip answers over the control's place: tools are numbered by creation order.
void Form::MoveToolTips() const {
  if (!toolTips_) return;
  for (size_t i = 0; i < controls_.size(); ++i) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = controls_[i]->Parent().Window();
    tool.uId = i + 1;
    tool.rect = controls_[i]->PixelRect();
    ::SendMessageW(toolTips_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// The container hands the tip its pointer messages: a hooked window would pay for the hook on
// every message it gets, pointer or not.
void Form::AddToolTip(const Control& control, const wchar_t* text) {
  tips_.push_back({controls_.size(), text});
  control.Parent().RelayPointerTo([this] { return ToolTips(); });
}

// Made when the pointer first comes over a container with tips, not at the start, which it
// would cost a window and the common controls' tip class.
HWND Form::ToolTips() {
  if (toolTips_ || tips_.empty()) return toolTips_.get();
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&init);
  // Unowned: an owned topmost tip keeps its owner from becoming topmost on some platforms.
  toolTips_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                    nullptr, nullptr, ThisProgram::Instance(), nullptr));
  for (const auto& [index, text] : tips_) {
    const Control& control = *controls_[index];
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = control.Parent().Window();
    tool.uId = index + 1;
    tool.rect = control.PixelRect();
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(toolTips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return toolTips_.get();
}

// Focus order is z-order among siblings: stack them in tab order.
void Form::ApplyTabOrder(std::span<const wchar_t* const> order) {
  std::map<HWND, HWND> lastOfParent;
  for (const wchar_t* name : order) {
    HWND child = FindControl(name).Handle();
    if (!child) continue;
    HWND parent = ::GetParent(child);
    auto previous = lastOfParent.find(parent);
    HWND after = previous == lastOfParent.end() ? HWND_TOP : previous->second;
    ::SetWindowPos(child, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    lastOfParent[parent] = child;
  }
}

std::wstring Form::Caption() const { return WindowText(Window()); }

HICON Form::Icon() const { return icon_ ? icon_->Icon() : nullptr; }

void Form::Show() {
  Load();
  ::ShowWindow(Window(), ::IsIconic(Window()) ? SW_SHOWMINIMIZED : SW_SHOW);
}
void Form::Hide() { ::ShowWindow(Window(), SW_HIDE); }
bool Form::Visible() const { return ::IsWindowVisible(Window()) != FALSE; }
bool Form::Minimised() const { return ::IsIconic(Window()) != FALSE; }

void Form::SetMinimised(bool minimised) {
  if (minimised == Minimised()) return;
  ::ShowWindow(Window(), minimised ? SW_MINIMIZE : SW_RESTORE);
}

void Form::RequestClose() {
  if (OnCloseRequest()) return;
  DestroyAndNotify();
}

RECT Form::Place() const {
  RECT place{};
  ::GetWindowRect(Window(), &place);
  return place;
}

void Form::MoveTo(const RECT& place) {
  ::SetWindowPos(Window(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetBackColor(COLORREF color) {
  backColor_ = ResolveColor(color);
  BackgroundChanged();
  ::InvalidateRect(Window(), nullptr, FALSE);
}

void Form::PaintBackground(HDC dc, const RECT& rect) const {
  unique_brush fill(::CreateSolidBrush(backColor_));
  ::FillRect(dc, &rect, fill.get());
  if (picture_) picture_->Draw(dc, 0, 0, picture_->Size().cx, picture_->Size().cy);
}

void Form::OnPaint(HDC dc, const RECT& area) {
  PaintBackground(dc, area);
  PaintDrawnControls(dc);
}

namespace {

// A menu as the system shows it, and what its item numbers stand for.
struct BuiltMenu {
  std::vector<const MenuItem*> chosenBy;  // item number - 1
  std::vector<unique_bitmap> swatches;    // alive as long as the menu shows them
};

HBITMAP SwatchBitmap(COLORREF colour) {
  const int side = ::GetSystemMetrics(SM_CYMENUCHECK);
  window_dc screen(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get(), side, side);
  unique_mem_dc dc(::CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return bitmap;
  select_guard select(dc.get(), bitmap);
  RECT square{0, 0, side, side};
  unique_brush edge(::CreateSolidBrush(::GetSysColor(COLOR_GRAYTEXT)));
  unique_brush fill(::CreateSolidBrush(colour));
  ::FillRect(dc.get(), &square, edge.get());
  ::InflateRect(&square, -1, -1);
  ::FillRect(dc.get(), &square, fill.get());
  return bitmap;
}

HMENU BuildMenu(const std::vector<MenuItem>& items, BuiltMenu& built) {
  HMENU menu = ::CreatePopupMenu();
  for (const MenuItem& item : items) {
    if (item.caption == L"-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE;
    info.dwTypeData = const_cast<wchar_t*>(item.caption.c_str());
    info.fState = item.enabled ? MFS_ENABLED : MFS_GRAYED;
    if (!item.items.empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = BuildMenu(item.items, built);
    } else {
      built.chosenBy.push_back(&item);
      info.wID = static_cast<UINT>(built.chosenBy.size());
    }
    if (item.swatch) {
      built.swatches.emplace_back(SwatchBitmap(*item.swatch));
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = built.swatches.back().get();
    }
    ::InsertMenuItemW(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &info);
  }
  return menu;
}

}  // namespace

std::wstring MenuText(std::wstring_view text) {
  std::wstring caption;
  for (wchar_t c : text) {
    if (c == L'&') caption += L'&';
    caption += c;
  }
  return caption;
}

namespace {
bool g_menuOpen = false;  // one pop-up at a time on the one GUI thread
}  // namespace

bool Form::MenuOpen() { return g_menuOpen; }

void Form::PopupMenu(Menu menu, std::optional<POINT> place) {
  if (g_menuOpen) return;
  BuiltMenu built;
  unique_menu popup(BuildMenu(menu.items, built));
  POINT at{};
  if (place)
    at = *place;
  else
    ::GetCursorPos(&at);
  g_menuOpen = true;
  UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      popup.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, Window(), nullptr));
  g_menuOpen = false;
  // Lets the menu close properly when the window was not in the foreground.
  ::PostMessageW(Window(), WM_NULL, 0, 0);
  if (chosen < 1 || chosen > built.chosenBy.size()) return;
  // A copy: the item's click may change the menu it came from.
  if (std::function<void()> click = built.chosenBy[chosen - 1]->Click) click();
  // The items go only now: whatever ran while the menu was open (another pop-up, a change of
  // the lists it was made from) left these as they were shown.
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) OnActivate();
      break;
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_DPICHANGED:
      if (ownsResolution_) OnDpiChanged();
      return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      moving_ = msg == WM_ENTERSIZEMOVE;
      break;
    default:
      break;
  }
  if (msg == WM_ACTIVATE) return ::DefWindowProcW(Window(), msg, wp, lp);
  return Container::OnMessage(msg, wp, lp);
}
