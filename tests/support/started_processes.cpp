#include "support/started_processes.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "formlayer/handles.h"

namespace {

std::mutex g_lock;
std::vector<unique_kernel_handle> g_started;

bool Ended(const unique_kernel_handle& process) { return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }

}  // namespace

void NoteStartedProcess(HANDLE process) {
  HANDLE own = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), process, ::GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
    return;
  std::lock_guard<std::mutex> hold(g_lock);
  std::erase_if(g_started, Ended);
  g_started.emplace_back(own);
}

void EndStartedProcesses() {
  std::lock_guard<std::mutex> hold(g_lock);
  for (const unique_kernel_handle& process : g_started) ::TerminateProcess(process.get(), 3);
}
