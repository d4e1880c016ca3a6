// GoogleTest's own place for a platform's settings, found ahead of the one it ships with
// (tests/CMakeLists.txt). The toolchain's win32 thread model has no std::mutex and no
// std::condition_variable, and the one class of GoogleTest built on them is Notification:
// here it is a manual-reset event, which is all that "wait until told to start" needs.
#pragma once
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
