// A pick from the hotkey, in the real main window of this process: the time from the
// hotkey to the frozen screen shown, against the least any frozen screen costs (one copy
// of the screen shown in one topmost window), and the working set after 20 frozen picks.
// Both take turns at going first, and each is timed until the display has drawn it: the
// first screen read after a paint waits for that paint.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

#include "bench_report.h"
#include "mainwindow/main_window.h"
#include "support/pointer.h"
#include "win32/handles.h"

namespace {

constexpr int kPicks = 40, kWarmUp = 3, kMeasuredForMemory = 20;

double MillisecondsSince(const LARGE_INTEGER& begin) {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - begin.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void SettleDisplay() {
  window_dc screen(nullptr);
  ::GetPixel(screen.get(), 0, 0);
}

// The floor: the virtual screen copied once and shown unchanged in one topmost window.
class OneFrozenWindow {
 public:
  OneFrozenWindow() {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Procedure;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"HuevikFrozenFloor";
      return ::RegisterClassW(&wc);
    }();
    (void)atom;
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    width_ = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    height_ = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    window_dc screen(nullptr);
    copy_.reset(::CreateCompatibleBitmap(screen.get(), width_, height_));
    dc_.reset(::CreateCompatibleDC(screen.get()));
    ::SelectObject(dc_.get(), copy_.get());
    ::BitBlt(dc_.get(), 0, 0, width_, height_, screen.get(), left, top, SRCCOPY);
    window_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"HuevikFrozenFloor", L"", WS_POPUP, left, top,
                                width_, height_, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
  }
  ~OneFrozenWindow() { ::DestroyWindow(window_); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<OneFrozenWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT || !self) return ::DefWindowProcW(window, msg, wp, lp);
    paint_scope paint(window);
    ::BitBlt(paint.dc(), 0, 0, self->width_, self->height_, self->dc_.get(), 0, 0, SRCCOPY);
    return 0;
  }

  int width_ = 0, height_ = 0;
  unique_bitmap copy_;
  unique_mem_dc dc_;
  HWND window_ = nullptr;
};

double WorkingSetKiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / 1024.0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  MainWindow form;
  form.Show();
  pointer::MoveTo(640, 400);
  Pump(200);
  std::vector<double> ours, floor;
  double before = 0, after = 0;
  for (int i = 0; i < kWarmUp + kPicks; ++i) {
    if (i == kWarmUp) before = WorkingSetKiB();
    if (i == kWarmUp + kMeasuredForMemory) after = WorkingSetKiB();
    for (int turn = 0; turn < 2; ++turn) {
      LARGE_INTEGER begin;
      ::QueryPerformanceCounter(&begin);
      if ((turn + i) % 2 == 0) {
        form.Picks().StartOrEndFrozenPick();
        SettleDisplay();
        if (i >= kWarmUp) ours.push_back(MillisecondsSince(begin));
        if (!form.Picks().ScreenFrozen()) {
          std::fprintf(stderr, "the screen did not freeze\n");
          ::ExitProcess(1);
        }
        form.Picks().StartOrEndFrozenPick();  // the hotkey again: cancelled
      } else {
        OneFrozenWindow shown;
        SettleDisplay();
        if (i >= kWarmUp) floor.push_back(MillisecondsSince(begin));
      }
      Pump(20);
    }
  }
  ReportFigure("hotkey to the frozen screen shown (median of 40)", Median(ours), Median(floor), "ms",
               Goal::RatioAtMost(1.2));
  ReportFigure("working set growth over 20 frozen picks", after - before, 0, "KiB", Goal::AtMost(1024));
  ::ExitProcess(0);  // the tray icon and hover timer go with the process
}
