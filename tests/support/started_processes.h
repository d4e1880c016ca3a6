// The programs the tests started, held by handle, so that a run stuck for good ends them
// and nothing else: a copy of the program the developer runs has the same name.
#pragma once
#include <windows.h>

// Keeps a handle of its own to the process until the run ends.
void NoteStartedProcess(HANDLE process);
// Ends every noted process that still runs; safe from any thread.
void EndStartedProcesses();
