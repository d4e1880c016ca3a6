#include "mainwindow/bring_back.h"

#include "mainwindow/main_window.h"

namespace RunningCopy {

UINT BringBackMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Huevik.BringBack.{369f0b08-287f-4f37-8e22-287d9b466229}");
  return message;
}

bool IsBringBackRequest(UINT msg) { return msg != 0 && msg == BringBackMessage(); }

LRESULT AnswerBringBack(MainWindow& window, WPARAM request) {
  if (request != kBringBack) return kHuevikAnswers;
  window.BringBack();
  // A copy asked while still starting shows itself, in front, when its startup ends. While the
  // colour dialog is open the window is disabled: the dialog takes the front in its place.
  if (window.Visible()) ::SetForegroundWindow(::GetLastActivePopup(window.hWnd()));
  return kHuevikAnswers;
}

}  // namespace RunningCopy
