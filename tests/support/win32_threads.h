// GoogleTest's thread support uses std::mutex and std::condition_variable, which the toolchain's
// win32 thread model (GCC 12) lacks. These stand in for the little of them it uses, on the
// system's own locks. Included ahead of every test source by tests/CMakeLists.txt.
#pragma once
#include <mutex>

#if !defined(_GLIBCXX_HAS_GTHREADS)
#include <windows.h>

namespace std {

struct mutex {
  void lock() { ::AcquireSRWLockExclusive(&lock_); }
  void unlock() { ::ReleaseSRWLockExclusive(&lock_); }
  SRWLOCK lock_ = SRWLOCK_INIT;
};

struct condition_variable {
  void notify_all() { ::WakeAllConditionVariable(&ready_); }
  template <typename Predicate>
  void wait(unique_lock<mutex>& held, Predicate done) {
    while (!done()) ::SleepConditionVariableSRW(&ready_, &held.mutex()->lock_, INFINITE, 0);
  }
  CONDITION_VARIABLE ready_ = CONDITION_VARIABLE_INIT;
};

}  // namespace std
#endif
