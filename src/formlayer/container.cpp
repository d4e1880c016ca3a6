#include "formlayer/container.h"

#include <windowsx.h>

#include <cmath>
#include <map>
#include <utility>

#include "formlayer/runtime.h"

namespace {

short ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return kLeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return kRightButton;
    default:
      return kMiddleButton;
  }
}

short ButtonsHeld(WPARAM wp) {
  return static_cast<short>((wp & MK_LBUTTON ? kLeftButton : 0) | (wp & MK_RBUTTON ? kRightButton : 0) |
                            (wp & MK_MBUTTON ? kMiddleButton : 0));
}

short ShiftState(WPARAM wp) {
  return static_cast<short>((wp & MK_SHIFT ? 1 : 0) | (wp & MK_CONTROL ? 2 : 0) |
                            (::GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<WindowHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!host || msg == WM_NCDESTROY) return ::DefWindowProcW(window, msg, wp, lp);
  return host->OnMessage(window, msg, wp, lp);
}

}  // namespace

const wchar_t* HostWindowClass(const wchar_t* name) {
  static std::map<std::wstring, ATOM> registered;
  if (!registered.count(name)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = App::Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    registered[name] = ::RegisterClassExW(&wc);
  }
  return name;
}

HWND CreateHostWindow(WindowHost& host, const wchar_t* className, const std::wstring& text, DWORD style,
                      DWORD exStyle, const RECT& rect, HWND parent) {
  HWND window = ::CreateWindowExW(exStyle, HostWindowClass(className), text.c_str(), style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, App::Instance(),
                                  &host);
  if (!window) throw FormError("window cannot be created");
  return window;
}

void Container::InvalidatePixels(const RECT& rect) const { ::InvalidateRect(Window(), &rect, FALSE); }

void Container::PaintDrawnControls(HDC dc) const {
  for (const Control* control : drawn_) control->Paint(dc);
}

void Container::BackgroundChanged() {
  childBrush_.reset();
  for (Control* child : windowed_) ::InvalidateRect(child->Handle(), nullptr, TRUE);
}

EventTarget& Container::TargetAt(POINT pt) {
  for (auto it = drawn_.rbegin(); it != drawn_.rend(); ++it) {
    RECT r = (*it)->PixelRect();
    if ((*it)->TakesPointer() && ::PtInRect(&r, pt)) return **it;
  }
  return Surface();
}

void Container::Raise(EventTarget& target, const MouseHandler& handler, short button, short shift, POINT pt) {
  if (!handler) return;
  float x = static_cast<float>(pt.x) * Screen::TwipsPerPixelX();
  float y = static_cast<float>(pt.y) * Screen::TwipsPerPixelY();
  if (auto* control = dynamic_cast<Control*>(&target); control && &target != &Surface()) {
    x -= control->PlaceTwips().left;
    y -= control->PlaceTwips().top;
  }
  // An error that leaves an event handler ends that event only.
  try {
    handler(button, shift, x / TwipsPerUnitX(), y / TwipsPerUnitY());
  } catch (...) {
    ::OutputDebugStringW(L"Huevik: an event handler failed\n");
  }
}

void Container::LoseCapture() {
  EventTarget* target = std::exchange(captured_, nullptr);
  if (!target || !target->CaptureLost) return;
  try {
    target->CaptureLost();
  } catch (...) {
    ::OutputDebugStringW(L"Huevik: an event handler failed\n");
  }
}

void Container::ShowCursorOf(EventTarget& target) const {
  HCURSOR cursor = target.Cursor();
  ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
}

bool Container::RoutePointer(UINT msg, WPARAM wp, LPARAM lp) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      EventTarget& target = captured_ ? *captured_ : TargetAt(pt);
      if (!captured_) {
        captured_ = &target;
        ::SetCapture(Window());
      }
      Raise(target, target.MouseDown, ButtonOf(msg), ShiftState(wp), pt);
      return true;
    }
    case WM_MOUSEMOVE: {
      EventTarget& target = captured_ ? *captured_ : TargetAt(pt);
      Raise(target, target.MouseMove, ButtonsHeld(wp), ShiftState(wp), pt);
      if (captured_ == &target) ShowCursorOf(target);
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      EventTarget& target = captured_ ? *captured_ : TargetAt(pt);
      Raise(target, target.MouseUp, ButtonOf(msg), ShiftState(wp), pt);
      if (ButtonsHeld(wp) == 0 && captured_) {
        captured_ = nullptr;
        if (::GetCapture() == Window()) ::ReleaseCapture();
        ShowCursorOf(TargetAt(pt));
      }
      return true;
    }
    default:
      return false;
  }
}

void Container::RouteCommand(HWND child, WORD code) {
  for (Control* control : windowed_) {
    if (control->Handle() != child) continue;
    try {
      if (auto* text = dynamic_cast<TextBox*>(control); text && code == EN_CHANGE) text->OnEditChanged();
      if (auto* option = dynamic_cast<OptionButton*>(control); option && code == BN_CLICKED) option->OnClicked();
      if (auto* button = dynamic_cast<CommandButton*>(control); button && code == BN_CLICKED && button->Click)
        button->Click();
    } catch (...) {
      ::OutputDebugStringW(L"Huevik: an event handler failed\n");
    }
    return;
  }
}

HBRUSH Container::ChildBackground(HWND child, HDC dc) {
  for (Control* control : windowed_) {
    if (control->Handle() == child && control->Kind() == ControlKind::TextBox) {
      ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
      return ::GetSysColorBrush(COLOR_WINDOW);
    }
  }
  RECT client{};
  ::GetClientRect(Window(), &client);
  if (!childBrush_) {
    // A brush of this container's own background, so captions sit on the skin.
    HDC screen = ::GetDC(nullptr);
    unique_mem_dc memory(::CreateCompatibleDC(screen));
    unique_bitmap image(::CreateCompatibleBitmap(screen, client.right, client.bottom));
    ::ReleaseDC(nullptr, screen);
    {
      select_guard select(memory.get(), image.get());
      PaintBackground(memory.get(), client);
    }
    childBrush_.reset(::CreatePatternBrush(image.get()));
  }
  RECT place{};
  ::GetWindowRect(child, &place);
  ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&place), 2);
  ::SetBrushOrgEx(dc, -place.left, -place.top, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  return childBrush_.get();
}

bool Container::HandleContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  if (RoutePointer(msg, wp, lp)) return true;
  switch (msg) {
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != Window()) LoseCapture();
      return true;
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT) return false;
      POINT pt{};
      ::GetCursorPos(&pt);
      ::ScreenToClient(Window(), &pt);
      ShowCursorOf(captured_ ? *captured_ : TargetAt(pt));
      result = TRUE;
      return true;
    }
    case WM_COMMAND:
      if (lp) RouteCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      result = reinterpret_cast<LRESULT>(ChildBackground(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    default:
      return false;
  }
}

Frame::Frame(std::wstring name, Container& parent, TwipsRect place, std::wstring caption)
    : WindowedControl(std::move(name), ControlKind::Frame, parent, place), caption_(std::move(caption)) {
  window_ = CreateHostWindow(*this, L"HuevikFrame", caption_, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                             PixelRect(), parent.Window());
  Parent().AdoptWindowed(*this);
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

void Frame::PaintFrame(HDC dc) const {
  RECT client{};
  ::GetClientRect(window_, &client);
  PaintBackground(dc, client);
  select_guard font(dc, SharedFont(FontSpec{}));
  SIZE text{};
  ::GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
  RECT edge = client;
  edge.top = text.cy / 2;
  ::DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  RECT label{6, 0, 6 + text.cx + 4, text.cy};
  PaintBackground(dc, label);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::TextOutW(dc, 8, 0, caption_.c_str(), static_cast<int>(caption_.size()));
  PaintDrawnControls(dc);
}

LRESULT Frame::OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (msg == WM_PAINT) {
    paint_scope paint(window);
    PaintFrame(paint.dc());
    return 0;
  }
  if (HandleContainerMessage(msg, wp, lp, result)) return result;
  return ::DefWindowProcW(window, msg, wp, lp);
}

PictureBox::PictureBox(std::wstring name, Container& parent, TwipsRect place, COLORREF backColor,
                       PictureRef picture)
    : WindowedControl(std::move(name), ControlKind::PictureBox, parent, place),
      backColor_(ResolveColor(backColor)),
      picture_(std::move(picture)) {
  RECT r = PixelRect();
  pixels_ = {r.right - r.left, r.bottom - r.top};
  window_ = CreateHostWindow(*this, L"HuevikPicture", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, r,
                             parent.Window());
  Parent().AdoptWindowed(*this);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels_.cx, -pixels_.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  backing_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  backingDc_.reset(::CreateCompatibleDC(nullptr));
  if (!backing_ || !backingDc_) throw FormError("picture box memory cannot be made");
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

void PictureBox::Refresh() const { ::InvalidateRect(window_, nullptr, FALSE); }

long PictureBox::Point(float x, float y) const {
  double px = std::floor(static_cast<double>(x) * TwipsPerUnitX() / Screen::TwipsPerPixelX());
  double py = std::floor(static_cast<double>(y) * TwipsPerUnitY() / Screen::TwipsPerPixelY());
  if (!(px >= 0 && py >= 0 && px < pixels_.cx && py < pixels_.cy)) return -1;
  return static_cast<long>(::GetPixel(backingDc_.get(), static_cast<int>(px), static_cast<int>(py)));
}

void PictureBox::PaintBackground(HDC dc, const RECT& rect) const {
  ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, backingDc_.get(), rect.left,
           rect.top, SRCCOPY);
}

LRESULT PictureBox::OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (msg == WM_PAINT || msg == WM_PRINTCLIENT) {
    if (msg == WM_PRINTCLIENT) {
      HDC dc = reinterpret_cast<HDC>(wp);
      PaintBackground(dc, {0, 0, pixels_.cx, pixels_.cy});
      PaintDrawnControls(dc);
      return 0;
    }
    paint_scope paint(window);
    PaintBackground(paint.dc(), paint.area());
    PaintDrawnControls(paint.dc());
    return 0;
  }
  if (msg == WM_DESTROY && originalBitmap_) {
    ::SelectObject(backingDc_.get(), originalBitmap_);
    originalBitmap_ = nullptr;
  }
  if (HandleContainerMessage(msg, wp, lp, result)) return result;
  return ::DefWindowProcW(window, msg, wp, lp);
}
