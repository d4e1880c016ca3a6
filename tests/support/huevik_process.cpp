#include "support/huevik_process.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// Every program the tests started, by a handle of its own, for a run that must end them: the
// watchdog's thread reads the list while a test may be adding to it.
SRWLOCK g_startedLock = SRWLOCK_INIT;
std::vector<unique_kernel_handle> g_started;

class StartedListHeld {
 public:
  StartedListHeld() { ::AcquireSRWLockExclusive(&g_startedLock); }
  ~StartedListHeld() { ::ReleaseSRWLockExclusive(&g_startedLock); }
  StartedListHeld(const StartedListHeld&) = delete;
  StartedListHeld& operator=(const StartedListHeld&) = delete;
};

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

// A top-level window of the process, with all the windows inside it.
BOOL CALLBACK CountWindowOfProcess(HWND window, LPARAM search) {
  auto* counting = reinterpret_cast<std::pair<DWORD, DWORD>*>(search);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != counting->first) return TRUE;
  CountWindow(window, reinterpret_cast<LPARAM>(&counting->second));
  ::EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&counting->second));
  return TRUE;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (owner == search->process && std::wstring(cls) == L"HuevikForm" && ReadWindowText(window) == L"Huevik") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void EndStartedProcesses() {
  const StartedListHeld hold;
  for (const unique_kernel_handle& process : g_started) ::TerminateProcess(process.get(), 3);
}

HWND HuevikWindowOf(DWORD processId) {
  Search search{processId, nullptr};
  ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HuevikProcess::HuevikProcess(const std::wstring& dir, const std::wstring& currentDir, bool awaitWindow) {
  std::wstring exe = dir + L"\\Huevik.exe";
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? dir.c_str() : currentDir.c_str(), &startup, &started))
    throw std::runtime_error("Huevik.exe cannot be started");
  info_.adopt(started);
  if (HANDLE own = nullptr; ::DuplicateHandle(::GetCurrentProcess(), info_.process.get(), ::GetCurrentProcess(), &own,
                                              0, FALSE, DUPLICATE_SAME_ACCESS)) {
    const StartedListHeld hold;
    g_started.emplace_back(own);
  }
  if (!awaitWindow) return;
  ::WaitForInputIdle(info_.process.get(), 10000);
  for (int i = 0; i < 200 && !(window_ && ::IsWindowVisible(window_)); ++i) {
    window_ = HuevikWindowOf(info_.processId);
    if (!window_ || !::IsWindowVisible(window_)) ::Sleep(25);
  }
  if (!window_) throw std::runtime_error("Huevik's window did not show");
}

HuevikProcess::~HuevikProcess() {
  if (Running()) {
    ::TerminateProcess(info_.process.get(), 99);
    ::WaitForSingleObject(info_.process.get(), 5000);
  }
}

bool HuevikProcess::Running() const { return ::WaitForSingleObject(info_.process.get(), 0) == WAIT_TIMEOUT; }

bool HuevikProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (::WaitForSingleObject(info_.process.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) ::GetExitCodeProcess(info_.process.get(), exitCode);
  return true;
}

HWND HuevikProcess::ChildAt(int clientX, int clientY) const {
  return ::ChildWindowFromPointEx(window_, {clientX, clientY}, CWP_SKIPTRANSPARENT);
}

// Wine (8) answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED and has no other count of a
// process's objects: there the user objects are counted as the windows, the kind a program makes
// most and the one a move could leave behind, and the graphics objects not at all.
HuevikProcess::GuiObjects HuevikProcess::Objects() const {
  const HANDLE process = info_.process.get();
  GuiObjects counted{::GetGuiResources(process, GR_GDIOBJECTS), ::GetGuiResources(process, GR_USEROBJECTS)};
  if (counted.user) return counted;
  std::pair<DWORD, DWORD> windows{info_.processId, 0};
  ::EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&windows));
  return {counted.graphics, windows.second};
}
