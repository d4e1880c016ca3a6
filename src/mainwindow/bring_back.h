// The main window's side of the one running copy per session: the request a second start sends
// to the running copy's windows, and the main window's answer.
#pragma once
#include <windows.h>

class MainWindow;

namespace RunningCopy {
// A message registered for the session under a name of its own, so no other program's and none
// of the tray's or the form layer's messages.
UINT BringBackMessage();
// What the request asks of the window that gets it.
enum Request : WPARAM { kAreYouHuevik = 0, kBringBack = 1 };
// The main window's answer: another program's window answers 0 to a message it does not know,
// so it is never taken for ours.
inline constexpr LRESULT kHuevikAnswers = 0x48564B21;

bool IsBringBackRequest(UINT msg);
// Answers that this is Huevik's main window; asked to, brings the window back as a left click on
// the tray icon does, then to the front.
LRESULT AnswerBringBack(MainWindow& window, WPARAM request);
}  // namespace RunningCopy
