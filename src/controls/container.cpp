#include "controls/container.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "win32/this_program.h"
#include "win32/display.h"
#include "win32/display_scale.h"

namespace {

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return MouseButton::Right;
    default:
      return MouseButton::Middle;
  }
}

MouseButton ButtonHeld(WPARAM wp) {
  if (wp & MK_LBUTTON) return MouseButton::Left;
  if (wp & MK_RBUTTON) return MouseButton::Right;
  if (wp & MK_MBUTTON) return MouseButton::Middle;
  return MouseButton::None;
}

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

// The point in the target's own pixels.
POINT Within(const EventTarget& target, POINT pt) {
  const POINT origin = target.PointerOrigin();
  return {pt.x - origin.x, pt.y - origin.y};
}

}  // namespace

void Container::InvalidatePixels(const RECT& rect) const { ::InvalidateRect(Window(), &rect, FALSE); }

void Container::PaintDrawnControls(HDC dc) const {
  for (const Control* control : drawn_) control->Paint(dc);
}

void Container::BackgroundChanged() {
  childBrushes_.clear();
  for (WindowedControl* child : windowed_) ::InvalidateRect(child->Handle(), nullptr, TRUE);
}

EventTarget& Container::TargetAt(POINT pt) {
  for (auto it = drawn_.rbegin(); it != drawn_.rend(); ++it) {
    RECT r = (*it)->PixelRect();
    if ((*it)->TakesPointer() && ::PtInRect(&r, pt)) return **it;
  }
  return Surface();
}

void Container::LoseCapture() {
  EventTarget* target = std::exchange(captured_, nullptr);
  if (target && target->Pointer()) target->Pointer()->OnPointerLost();
}

void Container::ShowCursorOf(EventTarget& target) const {
  HCURSOR cursor = target.Cursor();
  ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
}

void Container::RelayToToolTips(UINT msg, WPARAM wp, LPARAM lp) const {
  HWND toolTips = toolTips_ ? toolTips_() : nullptr;
  if (!toolTips) return;
  MSG relayed{Window(), msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), {}};
  ::SendMessageW(toolTips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// A press sends the pressed target its moves and its release, wherever the pointer goes, until
// no button is held: the one place that rule lives.
bool Container::RoutePointer(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const bool press = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
  const bool release = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
  if (!press && !release && msg != WM_MOUSEMOVE) return false;
  EventTarget& target = captured_ ? *captured_ : TargetAt(pt);
  if (press && !captured_) {
    captured_ = &target;
    ::SetCapture(Window());
  }
  PointerHandler* handler = target.Pointer();
  if (press && handler) handler->OnPress(ButtonOf(msg), Within(target, pt));
  if (msg == WM_MOUSEMOVE) {
    if (handler) handler->OnMove(ButtonHeld(wp), Within(target, pt));
    if (captured_ == &target) ShowCursorOf(target);
  }
  if (release) {
    if (handler) handler->OnRelease(ButtonOf(msg), Within(target, pt));
    if ((wp & kAnyButton) == 0 && captured_) {
      captured_ = nullptr;
      if (::GetCapture() == Window()) ::ReleaseCapture();
      ShowCursorOf(TargetAt(pt));
    }
  }
  return true;
}

WindowedControl* Container::WindowedChild(HWND window) const {
  for (WindowedControl* control : windowed_)
    if (control->Handle() == window) return control;
  return nullptr;
}

// Each child gets a brush of the background under it alone: a few small system controls on a
// large skin then cost their own area, not a copy (and a second one while it is made) of the
// whole background.
HBRUSH Container::ChildBackground(HWND child, HDC dc) {
  auto known = std::find_if(childBrushes_.begin(), childBrushes_.end(),
                            [child](const auto& brush) { return brush.first == child; });
  if (known == childBrushes_.end()) {
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&place), 2);
    window_dc screen = GetWindowDc(nullptr);
    unique_mem_dc memory(::CreateCompatibleDC(screen.get()));
    unique_bitmap image(::CreateCompatibleBitmap(screen.get(), place.right - place.left, place.bottom - place.top));
    {
      select_guard select(memory.get(), image.get());
      ::SetViewportOrgEx(memory.get(), -place.left, -place.top, nullptr);
      PaintBackground(memory.get(), place);
    }
    childBrushes_.emplace_back(child, unique_brush(::CreatePatternBrush(image.get())));
    known = childBrushes_.end() - 1;
  }
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  return known->second.get();
}

// The message handling shared by every container window.
LRESULT Container::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (watcher_ && watcher_->OnWatchedMessage(msg, wp, lp)) return 0;
  if (msg == WM_MOUSEMOVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONUP)) RelayToToolTips(msg, wp, lp);
  if (RoutePointer(msg, wp, lp)) return 0;
  switch (msg) {
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != Window()) LoseCapture();
      return 0;
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT) break;
      POINT pt{};
      ::GetCursorPos(&pt);
      ::ScreenToClient(Window(), &pt);
      ShowCursorOf(captured_ ? *captured_ : TargetAt(pt));
      return TRUE;
    }
    case WM_COMMAND:
      if (WindowedControl* child = lp ? WindowedChild(reinterpret_cast<HWND>(lp)) : nullptr)
        child->OnCommand(HIWORD(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto window = reinterpret_cast<HWND>(lp);
      auto dc = reinterpret_cast<HDC>(wp);
      WindowedControl* child = WindowedChild(window);
      return reinterpret_cast<LRESULT>(child ? child->OnControlColour(dc) : ChildBackground(window, dc));
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return BaseWindow::OnMessage(msg, wp, lp);
}

Frame::Frame(std::wstring name, Container& parent, TwipsRect place, std::wstring caption)
    : WindowedControl(ControlKind::Frame, std::move(name), parent, place), caption_(std::move(caption)) {
  if (!CreateOwnWindow(L"HuevikFrame", caption_, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, PixelRect(),
                       parent.Window()))
    throw ControlError("frame window cannot be created");
  Parent().AdoptWindowed(*this);
}

void Frame::Rescale() {
  Reposition();
  BackgroundChanged();
}

void Frame::PaintBackground(HDC dc, const RECT& rect) const {
  RECT place = PixelRect();
  RECT inParent = rect;
  ::OffsetRect(&inParent, place.left, place.top);
  POINT old{};
  ::OffsetViewportOrgEx(dc, -place.left, -place.top, &old);
  Parent().PaintBackground(dc, inParent);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void Frame::OnPaint(HDC dc, const RECT&) {
  RECT client{};
  ::GetClientRect(Window(), &client);
  PaintBackground(dc, client);
  select_guard font(dc, SharedFont(FontSpec{}));
  SIZE text{};
  ::GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
  RECT edge = client;
  edge.top = text.cy / 2;
  ::DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  const int dpi = Display::Dpi();
  RECT label{ScaledLength(6, dpi), 0, ScaledLength(10, dpi) + text.cx, text.cy};
  PaintBackground(dc, label);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::TextOutW(dc, ScaledLength(8, dpi), 0, caption_.c_str(), static_cast<int>(caption_.size()));
  PaintDrawnControls(dc);
}

PictureBox::PictureBox(std::wstring name, Container& parent, TwipsRect place, COLORREF backColor, PictureRef picture)
    : WindowedControl(ControlKind::PictureBox, std::move(name), parent, place),
      backColor_(ResolveColor(backColor)),
      picture_(std::move(picture)) {
  if (!CreateOwnWindow(L"HuevikPicture", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, PixelRect(),
                       parent.Window()))
    throw ControlError("picture box window cannot be created");
  Parent().AdoptWindowed(*this);
  MakeBacking();
}

void PictureBox::Rescale() {
  Reposition();
  MakeBacking();
  BackgroundChanged();
}

void PictureBox::MakeBacking() {
  RECT r = PixelRect();
  pixels_ = {r.right - r.left, r.bottom - r.top};
  if (originalBitmap_) ::SelectObject(backingDc_.get(), originalBitmap_);
  originalBitmap_ = nullptr;
  backing_ = TopDownBitmap(pixels_, nullptr);
  if (!backingDc_) backingDc_.reset(::CreateCompatibleDC(nullptr));
  if (!backing_ || !backingDc_) throw ControlError("picture box memory cannot be made");
  originalBitmap_ = ::SelectObject(backingDc_.get(), backing_.get());
  Redraw();
}

void PictureBox::Redraw() {
  RECT all{0, 0, pixels_.cx, pixels_.cy};
  unique_brush fill(::CreateSolidBrush(backColor_));
  ::FillRect(backingDc_.get(), &all, fill.get());
  if (picture_) picture_->Draw(backingDc_.get(), 0, 0, pixels_.cx, pixels_.cy);
  Refresh();
}

void PictureBox::SetBackColor(COLORREF color) {
  backColor_ = ResolveColor(color);
  Redraw();
}

void PictureBox::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  Redraw();
}

void PictureBox::Refresh() const { ::InvalidateRect(Window(), nullptr, FALSE); }

std::optional<COLORREF> PictureBox::ColourAt(POINT at) const {
  if (at.x < 0 || at.y < 0 || at.x >= pixels_.cx || at.y >= pixels_.cy) return std::nullopt;
  return ::GetPixel(backingDc_.get(), at.x, at.y);
}

void PictureBox::PaintBackground(HDC dc, const RECT& rect) const {
  ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, backingDc_.get(), rect.left,
           rect.top, SRCCOPY);
}

void PictureBox::OnPaint(HDC dc, const RECT& area) {
  PaintBackground(dc, area);
  PaintDrawnControls(dc);
}

// The bitmap goes back out of the memory context before either is let go.
PictureBox::~PictureBox() {
  if (originalBitmap_) ::SelectObject(backingDc_.get(), originalBitmap_);
}
