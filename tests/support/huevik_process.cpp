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

namespace {

// Wine keeps each process's graphics objects in a table of the process's own, which its 64-bit
// PEB names at 0xF8 (GdiSharedHandleTable, where Windows names the session's): 0x10000 entries
// of 24 bytes, each with its object's type in byte 14, and 0 there once the object is freed. Its
// live entries, stock objects too, are the process's objects. A 32-bit process there runs as on
// 64-bit Windows, with a 64-bit TEB whose place its own TEB holds at 0xF70, and whose PEB that
// TEB names at 0x60.
template <typename Value>
Value ReadAt(HANDLE process, UINT64 address) {
  Value value{};
  if (!address || !::ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<UINT_PTR>(address)), &value,
                                       sizeof value, nullptr))
    return Value{};
  return value;
}

DWORD GraphicsObjectsInWinesTable(HANDLE process, HANDLE thread) {
  using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = [](const char* name) {
    return reinterpret_cast<QueryFn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
  };
  struct {
    void* exitStatus;
    BYTE* block;  // the process's PEB, or the thread's TEB
    void* rest[5];
  } basic{};  // PROCESS_BASIC_INFORMATION, THREAD_BASIC_INFORMATION
  const bool is64 = sizeof(void*) == 8;
  const QueryFn basicOf = query(is64 ? "NtQueryInformationProcess" : "NtQueryInformationThread");
  if (!basicOf || basicOf(is64 ? process : thread, 0, &basic, sizeof basic, nullptr) != 0) return 0;
  const UINT64 peb64 = is64 ? reinterpret_cast<UINT_PTR>(basic.block)
                            : ReadAt<UINT64>(process, ReadAt<DWORD>(process, reinterpret_cast<UINT_PTR>(basic.block) + 0xF70) + 0x60);
  const UINT64 table = ReadAt<UINT64>(process, peb64 + 0xF8);
  constexpr size_t kEntries = 0x10000, kEntrySize = 24, kTypeAt = 14;
  std::vector<BYTE> entries(kEntries * kEntrySize);
  if (!table || !::ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<UINT_PTR>(table)), entries.data(),
                                     entries.size(), nullptr))
    return 0;
  DWORD live = 0;
  for (size_t i = 0; i < kEntries; ++i) live += entries[i * kEntrySize + kTypeAt] != 0;
  return live;
}

}  // namespace

// Wine (8) answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED: there the graphics objects
// are counted in its table, and the user objects as the windows, the kind a program makes most
// and the one a move could leave behind.
HuevikProcess::GuiObjects HuevikProcess::Objects() const {
  const HANDLE process = info_.process.get();
  GuiObjects counted{::GetGuiResources(process, GR_GDIOBJECTS), ::GetGuiResources(process, GR_USEROBJECTS)};
  if (counted.user) return counted;
  std::pair<DWORD, DWORD> windows{info_.processId, 0};
  ::EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&windows));
  return {GraphicsObjectsInWinesTable(process, info_.thread.get()), windows.second};
}
