// What the program costs while it only waits: CPU time of the real Huevik.exe, hover timer running
// and pointer away from its window, against a minimal program with the same 1 ms thread timer, both
// running side by side over the same 10 s. Then the settings writes that 1,000 pointer moves over the
// window's surface cause while the window stays where it is, counted in-process on a real Form1.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench_report.h"
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "mainwindow/hover_tracking.h"
#include "settings/window_position.h"
#include "support/pointer.h"
#include "tray/tray_icon.h"

namespace {

constexpr DWORD kIdleMs = 10000;
constexpr DWORD kSettleMs = 1500;  // past the start-up work of both programs
constexpr int kSurfaceMoves = 1000;
constexpr POINT kBareSurface{120, 25};  // window pixels below the caption buttons, beside no control

std::wstring HereDir() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L'\\'));
}

void ForgetStoredPosition() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\QevSoft_Color");
  记录窗体位置::ForgetLastWritten();
}

std::uint64_t Ticks(FILETIME t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

class ChildProgram {
 public:
  explicit ChildProgram(const wchar_t* exeName) {
    const std::wstring exe = HereDir() + L"\\" + exeName;
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, HereDir().c_str(),
                                &startup, &info_);
    if (started_) ::WaitForInputIdle(info_.hProcess, 10000);
  }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;
  ~ChildProgram() {
    if (!started_) return;
    ::TerminateProcess(info_.hProcess, 0);
    ::WaitForSingleObject(info_.hProcess, 5000);
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }
  bool Running() const { return started_ && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  // User plus kernel time so far, in milliseconds, of the whole process where the system reports
  // it; Wine reports none for another process, but does for its threads, so there it is the main
  // thread's, the one that runs the window and the timer.
  double CpuMs() const {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(info_.hProcess, &created, &exited, &kernel, &user);
    if (Ticks(kernel) + Ticks(user) == 0) ::GetThreadTimes(info_.hThread, &created, &exited, &kernel, &user);
    return static_cast<double>(Ticks(kernel) + Ticks(user)) / 10000.0;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

void MeasureIdleCpu() {
  ForgetStoredPosition();
  pointer::MoveTo(::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) - 3);
  // The floor first, so the program comes up in the foreground as after a user's start.
  ChildProgram floor(L"idle_floor.exe");
  ChildProgram huevik(L"Huevik.exe");
  if (!floor.Running() || !huevik.Running()) {
    std::printf("idle: a program did not start (floor %d, Huevik %d)\n", floor.Running(), huevik.Running());
    return;
  }
  ::Sleep(kSettleMs);
  const double floorStart = floor.CpuMs(), huevikStart = huevik.CpuMs();
  ::Sleep(kIdleMs);
  const double floorUsed = floor.CpuMs() - floorStart, huevikUsed = huevik.CpuMs() - huevikStart;
  ReportFigure("idle CPU time over 10 s, pointer away", huevikUsed, floorUsed, "ms");
}

HWND g_countedWindow = nullptr;
long g_movesDelivered = 0;  // written and read on this thread only

LRESULT CALLBACK CountSurfaceMoves(int code, WPARAM removal, LPARAM param) {
  const auto* msg = reinterpret_cast<const MSG*>(param);
  if (code == HC_ACTION && removal == PM_REMOVE && msg->message == WM_MOUSEMOVE && msg->hwnd == g_countedWindow)
    ++g_movesDelivered;
  return ::CallNextHookEx(nullptr, code, removal, param);
}

// One pixel to and fro, each move handed over and handled before the next, so none is merged.
bool MoveOnePixel(int dx) {
  const long before = g_movesDelivered;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  ::SendInput(1, &input, sizeof input);
  return PumpUntil([&] { return g_movesDelivered != before; }, 500);
}

void CountSettingsWrites() {
  ForgetStoredPosition();
  Form1 form;
  form.Show();
  ::SetForegroundWindow(form.hWnd());
  Pump(50);
  g_countedWindow = form.hWnd();
  HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, CountSurfaceMoves, nullptr, ::GetCurrentThreadId());
  RECT before{};
  ::GetWindowRect(form.hWnd(), &before);
  const std::uint64_t writesBefore = SettingsWritesSoFar();
  pointer::MoveTo(before.left + kBareSurface.x, before.top + kBareSurface.y);
  for (int i = 1; i < kSurfaceMoves; ++i) MoveOnePixel(i % 2 ? 1 : -1);
  const std::uint64_t writes = SettingsWritesSoFar() - writesBefore;
  ::UnhookWindowsHookEx(hook);
  RECT after{};
  ::GetWindowRect(form.hWnd(), &after);
  std::printf("surface moves delivered: %ld of %d; window %s\n", g_movesDelivered, kSurfaceMoves,
              after.left == before.left && after.top == before.top ? "stayed" : "MOVED");
  ReportFigure("registry writes per 1000 surface moves", static_cast<double>(writes), 0, "writes");
  托盘图标::RemoveTrayIcon(form);
  ::KillTimer(nullptr, 圆角窗体::HoverTimerId);
  ForgetStoredPosition();
}

}  // namespace

int main() {
  MeasureIdleCpu();
  CountSettingsWrites();
  return 0;
}
