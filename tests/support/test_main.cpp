// The test programs' main: unbuffered output, so a log shows how far a run got,
// and a watchdog that ends a test run stuck in a nested message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "support/huevik_process.h"

namespace {

constexpr DWORD kTestTimeLimitMs = 240000;
volatile LONG g_testNumber = 0;

class Progress : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ::InterlockedIncrement(&g_testNumber); }
};

DWORD WINAPI Watchdog(void*) {
  for (;;) {
    LONG seen = g_testNumber;
    ::Sleep(kTestTimeLimitMs);
    if (seen == g_testNumber && seen != 0) {
      std::fprintf(stderr, "watchdog: a test ran longer than %lu ms; ending the run\n", kTestTimeLimitMs);
      std::fflush(stderr);
      // A program a test started must not outlive the run: under Wine it would hold the test
      // runner's output open, and the runner would wait for it for ever.
      EndStartedProcesses();
      ::TerminateProcess(::GetCurrentProcess(), 3);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new Progress);
  ::CloseHandle(::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
  return RUN_ALL_TESTS();
}
