// What the program costs while it only waits: CPU time and wakeups of the real Huevik.exe, pointer
// away from its window, shown, minimised and hidden in the tray, against a minimal window waiting in
// its message loop with no timer, both running side by side over the same 10 s in each state. Then
// the settings writes that 1,000 pointer moves over the window's surface cause while the window stays
// where it is, counted in-process on a real MainWindow.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "bench_report.h"
#include "settings/settings_store.h"
#include "win32/this_program.h"
#include "mainwindow/main_window.h"
#include "mainwindow/hover_tracking.h"
#include "settings/window_position.h"
#include "support/huevik_process.h"
#include "support/observe.h"
#include "support/pointer.h"
#include "tray/tray_icon.h"

namespace {

constexpr DWORD kIdleMs = 10000;
constexpr DWORD kSettleMs = 1500;  // past the start-up work of both programs
constexpr int kSurfaceMoves = 1000;
constexpr POINT kBareSurface{120, 25};  // window pixels below the caption buttons, beside no control

void ForgetStoredPosition() {
  stored::Clear();
}

// Wine's GetProcessTimes for another process gives a figure that never grows. The Unix side keeps
// the real one in /proc, which Wine's Z: drive (the Unix root) reaches; elsewhere the system's own
// figure is used.
std::string ReadWholeFile(const std::wstring& path) {
  const unique_file file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  return content;
}

// The fields of /proc/<pid>/stat after the command name: [0] is the state, [11] utime, [12] stime
// (clock ticks of 10 ms), [19] the start time.
std::vector<std::string> StatFields(const std::string& stat) {
  std::vector<std::string> fields;
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return fields;
  std::istringstream rest(stat.substr(nameEnd + 1));
  for (std::string field; rest >> field;) fields.push_back(field);
  return fields;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The Unix process that runs the Windows program at exePath: its command line is that path. Of
// several, the one started last.
long UnixPidOf(const std::wstring& exePath) {
  long found = -1;
  unsigned long long latestStart = 0;
  WIN32_FIND_DATAW entry{};
  HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return -1;
  do {
    const std::wstring name = entry.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string command = ReadWholeFile(L"Z:\\proc\\" + name + L"\\cmdline");
    const std::wstring program(command.begin(), std::find(command.begin(), command.end(), '\0'));
    if (Lower(program) != Lower(exePath)) continue;
    const std::vector<std::string> fields = StatFields(ReadWholeFile(L"Z:\\proc\\" + name + L"\\stat"));
    if (fields.size() < 20) continue;
    const unsigned long long start = std::stoull(fields[19]);
    if (found == -1 || start >= latestStart) {
      found = std::stol(name);
      latestStart = start;
    }
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return found;
}

double UnixCpuMs(long pid) {
  const std::vector<std::string> fields =
      StatFields(ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat"));
  if (fields.size() < 13) return -1;
  return (std::stod(fields[11]) + std::stod(fields[12])) * 10.0;
}

// Voluntary and forced context switches of all the process's threads so far: each time one of them
// was put to sleep or taken off the processor, so each wakeup counts once.
double UnixContextSwitches(long pid) {
  const std::wstring tasks = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\task\\";
  WIN32_FIND_DATAW entry{};
  HANDLE search = ::FindFirstFileW((tasks + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double switches = 0;
  do {
    if (entry.cFileName[0] == L'.') continue;
    std::istringstream status(ReadWholeFile(tasks + entry.cFileName + L"\\status"));
    for (std::string line; std::getline(status, line);)
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
        switches += std::stod(line.substr(line.find(':') + 1));
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  return switches;
}

class ChildProgram {
 public:
  explicit ChildProgram(const wchar_t* exeName) : exe_(TestProgramDir() + L"\\" + exeName) {
    std::wstring command = L"\"" + exe_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    started_ = ::CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                TestProgramDir().c_str(), &startup, &info);
    info_.adopt(info);
    if (started_) ::WaitForInputIdle(info_.process.get(), 10000);
  }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;
  ~ChildProgram() {
    if (!started_) return;
    ::TerminateProcess(info_.process.get(), 0);
    ::WaitForSingleObject(info_.process.get(), 5000);
  }
  bool Running() const { return started_ && ::WaitForSingleObject(info_.process.get(), 0) == WAIT_TIMEOUT; }
  DWORD Id() const { return info_.processId; }
  // User plus kernel time so far, in milliseconds; negative when it cannot be read.
  double CpuMs() {
    if (unixPid_ == -1) unixPid_ = UnixPidOf(exe_);
    if (unixPid_ != -1) return UnixCpuMs(unixPid_);
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(info_.process.get(), &created, &exited, &kernel, &user)) return -1;
    return static_cast<double>(Ticks(kernel) + Ticks(user)) / 10000.0;
  }
  // Context switches so far; negative where the system does not tell them.
  double ContextSwitches() {
    if (unixPid_ == -1) unixPid_ = UnixPidOf(exe_);
    return unixPid_ == -1 ? -1 : UnixContextSwitches(unixPid_);
  }

 private:
  static std::uint64_t Ticks(FILETIME t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  }
  std::wstring exe_;
  unique_process_information info_;
  bool started_ = false;
  long unixPid_ = -1;
};

// CPU time and wakeups of both programs over the same kIdleMs, reported against the floor's.
void MeasureIdleState(const char* state, ChildProgram& huevik, ChildProgram& floor) {
  ::Sleep(kSettleMs);
  const double cpu[2] = {huevik.CpuMs(), floor.CpuMs()};
  const double switches[2] = {huevik.ContextSwitches(), floor.ContextSwitches()};
  ::Sleep(kIdleMs);
  const double cpuUsed[2] = {huevik.CpuMs() - cpu[0], floor.CpuMs() - cpu[1]};
  const double switchesMade[2] = {huevik.ContextSwitches() - switches[0], floor.ContextSwitches() - switches[1]};
  const double seconds = kIdleMs / 1000.0;
  if (cpu[0] < 0 || cpu[1] < 0) {
    std::printf("idle, %s: the programs' CPU time cannot be read here\n", state);
    return;
  }
  ReportFigure(std::string("idle CPU over 10 s, ") + state, cpuUsed[0], cpuUsed[1], "ms", Goal::RatioAtMost(1.1));
  if (switches[0] < 0 || switches[1] < 0) {
    std::printf("idle, %s: the programs' context switches cannot be read here\n", state);
    return;
  }
  ReportFigure(std::string("idle wakeups per s, ") + state, switchesMade[0] / seconds, switchesMade[1] / seconds,
               "1/s", Goal::AboveFloorAtMost(2));
}

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int waited = 0; waited < 5000; waited += 20) {
    if (condition()) return true;
    ::Sleep(20);
  }
  return false;
}

void MeasureIdleCost() {
  ForgetStoredPosition();
  pointer::MoveTo(::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) - 3);
  // The floor first, so the program comes up in the foreground as after a user's start.
  ChildProgram floor(L"idle_floor.exe");
  ChildProgram huevik(L"Huevik.exe");
  HWND window = HuevikWindowOf(huevik.Id());
  if (!floor.Running() || !huevik.Running() || !window) {
    std::printf("idle: a program did not start (floor %d, Huevik %d, its window %p)\n", floor.Running(),
                huevik.Running(), static_cast<void*>(window));
    return;
  }
  MeasureIdleState("shown, pointer away", huevik, floor);
  // As the taskbar button's menu and the window's own close button ask for them.
  ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  if (!WaitFor([&] { return ::IsIconic(window) != FALSE; })) std::printf("idle: the window did not minimise\n");
  MeasureIdleState("minimised", huevik, floor);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!WaitFor([&] { return !::IsWindowVisible(window); })) std::printf("idle: the window did not hide\n");
  MeasureIdleState("hidden in the tray", huevik, floor);
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
  pointer::SendMoveBy(dx, 0);
  return PumpUntil([&] { return g_movesDelivered != before; }, 500);
}

void CountSettingsWrites() {
  ForgetStoredPosition();
  MainWindow form;
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
  ReportFigure("registry writes per 1000 surface moves", static_cast<double>(writes), 0, "writes", Goal::AtMost(4));
  TrayIcon::RemoveTrayIcon(form);
  ::KillTimer(nullptr, HoverTracking::HoverTimerId);
  ForgetStoredPosition();
}

}  // namespace

int main() {
  MeasureIdleCost();
  CountSettingsWrites();
  return 0;
}
