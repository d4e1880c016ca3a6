// The real Huevik.exe, started as its own process and looked at from outside.
#pragma once
#include <windows.h>

#include <string>

#include "support/observe.h"
#include "win32/handles.h"
// Ends every Huevik process a test started that still runs, and nothing else: a copy the
// developer runs has the same name. Safe from any thread.
void EndStartedProcesses();
// The main window of the Huevik process with that id; nullptr while it has none.
HWND HuevikWindowOf(DWORD processId);

class HuevikProcess {
 public:
  // Starts <dir>\Huevik.exe in currentDir (empty: dir) and waits for its main window to show;
  // without awaitWindow for nothing, as for a start that may end at once.
  explicit HuevikProcess(const std::wstring& dir = TestProgramDir(), const std::wstring& currentDir = L"",
                         bool awaitWindow = true);
  HuevikProcess(const HuevikProcess&) = delete;
  HuevikProcess& operator=(const HuevikProcess&) = delete;
  ~HuevikProcess();  // ends the process if it still runs

  HWND Window() const { return window_; }
  DWORD Id() const { return info_.processId; }
  bool Running() const;
  // Waits for the process to end; false if it still runs after the time.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
  // The child window at a point of the main window's client area.
  HWND ChildAt(int clientX, int clientY) const;

  // The graphics and user objects the process holds now: a leak shows as a count that grows.
  struct GuiObjects {
    DWORD graphics = 0, user = 0;
    bool operator==(const GuiObjects&) const = default;
  };
  GuiObjects Objects() const;

 private:
  unique_process_information info_;
  HWND window_ = nullptr;
};
