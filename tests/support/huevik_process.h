// The real Huevik.exe, started as its own process and looked at from outside.
#pragma once
#include <windows.h>

#include <string>

std::wstring TestProgramDir();  // where the test exe, Huevik.exe and SkinH.dll live
std::wstring ReadWindowText(HWND window);
// The main window of the Huevik process with that id; nullptr while it has none.
HWND HuevikWindowOf(DWORD processId);

class HuevikProcess {
 public:
  // Starts <dir>\Huevik.exe and waits for its main window to show.
  explicit HuevikProcess(const std::wstring& dir = TestProgramDir());
  HuevikProcess(const HuevikProcess&) = delete;
  HuevikProcess& operator=(const HuevikProcess&) = delete;
  ~HuevikProcess();  // ends the process if it still runs

  HWND Window() const { return window_; }
  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // Waits for the process to end; false if it still runs after the time.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
  // The child window at a point of the main window's client area.
  HWND ChildAt(int clientX, int clientY) const;

 private:
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
};

// The program's stored settings, as the tests set them up before a start.
namespace stored {
void Clear();
void Write(const wchar_t* key, const wchar_t* value);
std::wstring Read(const wchar_t* key);
}  // namespace stored
