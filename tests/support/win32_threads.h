// GoogleTest's thread support uses std::mutex and std::condition_variable, which the toolchain's
// win32 thread model (GCC 12) lacks. These stand in for the little of them it uses, on the
// system's own locks. Included ahead of every test source by tests/CMakeLists.txt.
#pragma once
#include <mutex>

#if !defined(_GLIBCXX_HAS_GTHREADS)
#include <windows.h>

namespace std {

class mutex {
 public:
  mutex() = default;
  mutex(const mutex&) = delete;
  mutex& operator=(const mutex&) = delete;
  void lock() { ::AcquireSRWLockExclusive(&lock_); }
  bool try_lock() { return ::TryAcquireSRWLockExclusive(&lock_) != FALSE; }
  void unlock() { ::ReleaseSRWLockExclusive(&lock_); }
  PSRWLOCK native_handle() { return &lock_; }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

class condition_variable {
 public:
  void notify_one() { ::WakeConditionVariable(&ready_); }
  void notify_all() { ::WakeAllConditionVariable(&ready_); }
  void wait(unique_lock<mutex>& held) {
    ::SleepConditionVariableSRW(&ready_, held.mutex()->native_handle(), INFINITE, 0);
  }
  template <typename Predicate>
  void wait(unique_lock<mutex>& held, Predicate done) {
    while (!done()) wait(held);
  }

 private:
  CONDITION_VARIABLE ready_ = CONDITION_VARIABLE_INIT;
};

}  // namespace std
#endif
