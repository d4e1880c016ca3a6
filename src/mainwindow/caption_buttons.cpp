// The drawn close and minimise buttons and their three pictures; the hover tracking that puts
// the normal pictures back when the pointer has left lives beside them.
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "mainwindow/hover_tracking.h"
#include "win32/display.h"

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
