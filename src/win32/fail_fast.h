// An exception that reaches a window procedure, a callback of the system or the message loop is a
// fault: the system's frames below cannot be unwound through, and whatever was under way is left
// half done. The program takes its leave (its tray icon goes) and ends through the system's
// fail-fast path, which Windows Error Reporting records.
#pragma once
#include <windows.h>

namespace FailFast {
// What the program does before a fault ends it; set once, at start.
void SetLastWords(void (*lastWords)() noexcept) noexcept;
[[noreturn]] void End() noexcept;

// Runs body; an exception that leaves it ends the process as a fault.
template <typename Body>
decltype(auto) Guard(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    End();
  }
}

}  // namespace FailFast
