// The drawn close and minimise buttons, their three pictures, and the hover timer
// that puts the normal pictures back when the pointer has left.
#include "formlayer/display.h"
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "mainwindow/hover_tracking.h"

namespace 圆角窗体 {

HoverRectangle HoverRect{};
UINT_PTR HoverTimerId = 0;
short NotForeground = kFalse;

namespace {
// PicEn could change nothing then, wherever the pointer is.
bool ButtonsShowNormal(const Form1& form) {
  return form.关闭0.Picture() == form.关闭1.Picture() && form.最小0.Picture() == form.最小1.Picture();
}
}  // namespace

void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (!MainWindowExists()) return;
  Form1& form = MainWindow();
  RaiseEvent([&] {
    if (::GetForegroundWindow() != form.hWnd()) {
      form.PicEn();
      NotForeground = kTrue;
      return;
    }
    NotForeground = kFalse;
    // The pointer query is the costly part of a tick (on Wine a display-server round trip once the
    // pointer has rested), and the usual idle state has nothing it could change.
    if (ButtonsShowNormal(form)) return;
    POINT pointer{};
    ::GetCursorPos(&pointer);
    if (!PointerInside(HoverRect, pointer.x, pointer.y)) form.PicEn();
  });
}

}  // namespace 圆角窗体

void Form1::获取鼠标坐标() {
  圆角窗体::HoverRect = HoverRectFrom(Left(), Top(), Width(), Height(), Display::SystemDpi(), Display::Dpi());
}

void Form1::PicEn() {
  关闭0.SetPicture(关闭1.Picture());
  最小0.SetPicture(最小1.Picture());
}

void Form1::关闭0_MouseDown(short, short, float, float) { 关闭0.SetPicture(关闭3.Picture()); }

void Form1::关闭0_MouseMove(short, short, float, float) {
  if (圆角窗体::NotForeground) {
    PicEn();
    return;
  }
  最小0.SetPicture(最小1.Picture());
  关闭0.SetPicture(关闭2.Picture());
}

void Form1::关闭0_MouseUp(short, short, float, float) {
  关闭0.SetPicture(关闭2.Picture());
  RequestUnload();
}

void Form1::最小0_MouseDown(short, short, float, float) { 最小0.SetPicture(最小3.Picture()); }

void Form1::最小0_MouseMove(short, short, float, float) {
  if (圆角窗体::NotForeground) {
    PicEn();
    return;
  }
  关闭0.SetPicture(关闭1.Picture());
  最小0.SetPicture(最小2.Picture());
}

void Form1::最小0_MouseUp(short, short, float, float) {
  最小0.SetPicture(最小2.Picture());
  SetWindowState(1);
}

void Form1::Picture1_MouseMove(short, short, float, float) { PicEn(); }
