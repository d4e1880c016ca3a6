// The drawn close and minimise buttons and their three pictures; the hover tracking that puts
// the normal pictures back when the pointer has left lives beside them.
#include "controls/runtime.h"
#include "mainwindow/main_window.h"
#include "mainwindow/hover_tracking.h"
#include "win32/display.h"

void MainWindow::UpdateHoverRect() {
  HoverTracking::HoverRect = HoverRectFrom(Left(), Top(), Width(), Height(), Display::SystemDpi(), Display::Dpi());
}

void MainWindow::ShowNormalCaptionButtons() {
  CloseButton.SetPicture(CloseNormalLook.Picture());
  MinimiseButton.SetPicture(MinimiseNormalLook.Picture());
}

void MainWindow::OnClosePress(short, short, float, float) { CloseButton.SetPicture(ClosePressedLook.Picture()); }

void MainWindow::OnCloseHover(short, short, float, float) {
  if (HoverTracking::NotForeground) {
    ShowNormalCaptionButtons();
    return;
  }
  MinimiseButton.SetPicture(MinimiseNormalLook.Picture());
  CloseButton.SetPicture(CloseHoverLook.Picture());
}

void MainWindow::OnCloseRelease(short, short, float, float) {
  CloseButton.SetPicture(CloseHoverLook.Picture());
  RequestClose();
}

void MainWindow::OnMinimisePress(short, short, float, float) { MinimiseButton.SetPicture(MinimisePressedLook.Picture()); }

void MainWindow::OnMinimiseHover(short, short, float, float) {
  if (HoverTracking::NotForeground) {
    ShowNormalCaptionButtons();
    return;
  }
  CloseButton.SetPicture(CloseNormalLook.Picture());
  MinimiseButton.SetPicture(MinimiseHoverLook.Picture());
}

void MainWindow::OnMinimiseRelease(short, short, float, float) {
  MinimiseButton.SetPicture(MinimiseHoverLook.Picture());
  SetMinimised(true);
}

void MainWindow::OnSwatchHover(short, short, float, float) { ShowNormalCaptionButtons(); }
