#include "formlayer/message_origin.h"

#include "win32/handles.h"

namespace MessageOrigin {

namespace {

// A posted message reaches the window procedure through the queue and DispatchMessage, with
// no send at all: only the queue's hook sees it go by.
MSG g_lastTaken{};
unique_hook g_queueWatch;

LRESULT CALLBACK NoteTaken(int code, WPARAM removal, LPARAM lp) {
  if (code == HC_ACTION && removal == PM_REMOVE) g_lastTaken = *reinterpret_cast<const MSG*>(lp);
  return ::CallNextHookEx(nullptr, code, removal, lp);
}

bool IsLastTaken(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  return g_lastTaken.hwnd == window && g_lastTaken.message == msg && g_lastTaken.wParam == wp &&
         g_lastTaken.lParam == lp;
}

}  // namespace

void WatchQueue() {
  if (!g_queueWatch) g_queueWatch.reset(::SetWindowsHookExW(WH_GETMESSAGE, NoteTaken, nullptr, ::GetCurrentThreadId()));
}

void RestWatch() {
  g_queueWatch.reset();
  g_lastTaken = MSG{};
}

// Every procedure in a window's chain may ask about the same message, so the note stays until the
// next message is taken. The system sending the very same values in between is taken for a post:
// the caller then only does without the parameter.
bool SentOnThisThread(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  return g_queueWatch && ::InSendMessageEx(nullptr) == ISMEX_NOSEND && !IsLastTaken(window, msg, wp, lp);
}

}  // namespace MessageOrigin
