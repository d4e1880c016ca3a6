#include "process/running_copy.h"

#include <vector>

#include "mainwindow/bring_back.h"
#include "win32/fail_fast.h"
#include "win32/handles.h"

namespace RunningCopy {
namespace {

constexpr DWORD kLookAgainMs = 20;

struct Record {
  volatile LONG processId;  // 0 until the copy that made the object has written its own
};

void Unmap(void* view) noexcept { ::UnmapViewOfFile(view); }
using unique_view = unique_handle<void*, Unmap>;

struct WindowsOf {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowsOf*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->process) FailFast::Guard([&] { search->found.push_back(window); });
  return TRUE;
}

bool Ask(HWND window, Request request, ULONGLONG deadline) {
  const ULONGLONG now = ::GetTickCount64();
  DWORD_PTR answer = 0;
  return now < deadline &&
         ::SendMessageTimeoutW(window, BringBackMessage(), request, 0, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT,
                               static_cast<UINT>(deadline - now), &answer) &&
         answer == static_cast<DWORD_PTR>(kHuevikAnswers);
}

// Only the main window of a Huevik gives our answer; the process's other windows, or those of a
// program that took the object's name, answer something else or nothing in time. The right to
// take the front, which this start has from the user, goes only to a window that answered.
bool AskWindowsOf(DWORD process, ULONGLONG deadline) {
  WindowsOf search{process, {}};
  ::EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) {
    if (!Ask(window, kAreYouHuevik, deadline)) continue;
    ::AllowSetForegroundWindow(process);
    return Ask(window, kBringBack, deadline);
  }
  return false;
}

// A recorded copy that has ended has nothing to answer with. A process that cannot be opened for
// lack of rights still runs.
bool MayStillRun(DWORD process) {
  unique_kernel_handle handle(::OpenProcess(SYNCHRONIZE, FALSE, process));
  if (!handle) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  return ::WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT;
}

// A copy that is still starting may have no window yet, or not yet its id in the record: it is
// looked for again until the time is up.
bool AskRecordedCopy(const Record& record) {
  const ULONGLONG deadline = ::GetTickCount64() + kAnswerWithinMs;
  while (::GetTickCount64() < deadline) {
    const auto process = static_cast<DWORD>(record.processId);
    if (process != 0 && !MayStillRun(process)) return false;
    if (process != 0 && AskWindowsOf(process, deadline)) return true;
    ::Sleep(kLookAgainMs);
  }
  return false;
}

}  // namespace

bool HandOverToRunningCopy() {
  // Held until the process ends: while they exist, this copy is the one a later start asks.
  static unique_kernel_handle object;
  static unique_view view;
  HANDLE made = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Record), kObjectName);
  const bool existedAlready = ::GetLastError() == ERROR_ALREADY_EXISTS;
  object.reset(made);
  // No object (the name taken for another kind of object, or no memory): nobody to ask.
  if (!object) return false;
  view.reset(::MapViewOfFile(object.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Record)));
  if (!view) return false;
  auto* record = static_cast<Record*>(view.get());
  if (existedAlready && AskRecordedCopy(*record)) return true;
  // First, or no answer in time (a hung copy, a name squatted by another program): this copy
  // takes the record over, so the next start asks it instead of waiting on the silent one again.
  ::InterlockedExchange(&record->processId, static_cast<LONG>(::GetCurrentProcessId()));
  return false;
}

}  // namespace RunningCopy
