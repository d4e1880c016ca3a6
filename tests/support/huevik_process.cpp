#include "support/huevik_process.h"

#include <stdexcept>
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
