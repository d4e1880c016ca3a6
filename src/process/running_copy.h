// One Huevik per user and session: a second start brings the running copy's window back
// instead of opening a second window with a second icon.
#pragma once
#include <windows.h>

namespace RunningCopy {
// Held by the running copy for its whole life; it records that copy's process id. Kernel objects
// go with their last handle, so a copy that was killed leaves nothing behind.
inline constexpr wchar_t kObjectName[] = L"Local\\Huevik.RunningCopy.{369f0b08-287f-4f37-8e22-287d9b466229}";
// How long a start waits for the copy named there to answer before it starts as the first.
inline constexpr DWORD kAnswerWithinMs = 2000;

// Called first at start. True when a running copy answered and brought its window back: this
// start then ends. Otherwise this process is recorded as the running copy.
bool HandOverToRunningCopy();
}  // namespace RunningCopy
