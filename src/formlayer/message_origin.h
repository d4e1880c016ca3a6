// Where the message being handled came from. Any program on the desktop may post or send any
// message to our windows, so a parameter the system would hand over as a pointer is trusted
// only when the system sent the message on this thread: another program can post one, or send
// one from its own thread, but never send on ours.
#pragma once
#include <windows.h>

namespace MessageOrigin {

// Starts noting the messages this thread takes from its queue; once per thread is enough.
void WatchQueue();
// Stops noting them until WatchQueue: under Wine each noted message costs a server round trip,
// which a pen drag's moves cannot spare. Meanwhile no message can be told apart, so none counts
// as sent on this thread.
void RestWatch();
// The message now being handled was sent on this thread: neither posted nor sent from elsewhere.
bool SentOnThisThread(HWND window, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace MessageOrigin
