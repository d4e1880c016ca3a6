#include "win32/fail_fast.h"

#include <windows.h>

#include <utility>

namespace FailFast {
namespace {
void (*g_lastWords)() noexcept = nullptr;
// Where the system cannot raise a fail-fast exception, the process ends with a status of its own,
// so that the two ends can be told apart: STATUS_FAIL_FAST_EXCEPTION with the customer bit set.
constexpr DWORD kFallbackStatus = 0xE0000602;
}  // namespace

void SetLastWords(void (*lastWords)() noexcept) noexcept { g_lastWords = lastWords; }

void End() noexcept {
  static bool ending = false;  // a fault in the last words ends at once
  if (!std::exchange(ending, true) && g_lastWords) g_lastWords();
  // Looked up at run time: systems before Windows 7 lack it, and end the same way unreported.
  using RaiseFailFastFn = void(WINAPI*)(EXCEPTION_RECORD*, CONTEXT*, DWORD);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  FARPROC address = kernel ? ::GetProcAddress(kernel, "RaiseFailFastException") : nullptr;
  if (address) reinterpret_cast<RaiseFailFastFn>(reinterpret_cast<void*>(address))(nullptr, nullptr, 0);
  ::TerminateProcess(::GetCurrentProcess(), kFallbackStatus);
  ::ExitProcess(kFallbackStatus);
}

}  // namespace FailFast
