// Cost of one pen move (the pixel read, the swatch and the value field, as the pen's
// move handler does them) against the bare pixel read a move cannot do without:
// GetCursorPos, WindowFromPoint, GetDC, ScreenToClient, GetPixel, ReleaseDC.
// Both run here, interleaved at the same pointer positions over a window whose every
// column has its own colour, so each move really changes the colour shown.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_report.h"
#include "forms/patch_window.h"
#include "mainwindow/form1.h"
#include "support/pointer.h"

namespace {

constexpr int kMoves = 20000;
constexpr int kWarmUp = 500;
constexpr int kColumns = 256, kRows = 40;

COLORREF ColumnColour(int x) { return RGB(x, 255 - x, (x * 7) & 0xFF); }

class Stopwatch {
 public:
  Stopwatch() { ::QueryPerformanceFrequency(&frequency_); }
  LONGLONG Now() const {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  double Microseconds(LONGLONG ticks) const {
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_;
};

volatile COLORREF g_sink;

void BarePixelRead() {
  POINT screen{};
  ::GetCursorPos(&screen);
  HWND under = ::WindowFromPoint(screen);
  HDC dc = ::GetDC(under);
  POINT client = screen;
  ::ScreenToClient(under, &client);
  g_sink = ::GetPixel(dc, client.x, client.y);
  ::ReleaseDC(under, dc);
}

}  // namespace

int main() {
  Form1 form;
  form.Show();
  std::vector<COLORREF> columns;
  for (int x = 0; x < kColumns; ++x) columns.push_back(ColumnColour(x));
  PatchWindow patches({860, 100}, columns, 1, kRows);
  Pump(200);
  POINT origin{0, 0};
  ::ClientToScreen(patches.hwnd(), &origin);

  Stopwatch clock;
  LONGLONG ours = 0, floor = 0;
  form.Picking = kTrue;
  for (int i = 0; i < kWarmUp + kMoves; ++i) {
    ::SetCursorPos(origin.x + i % kColumns, origin.y + (i / kColumns) % kRows);
    LONGLONG t0 = clock.Now();
    form.Picture2.MouseMove(kLeftButton, 0, 0, 0);
    LONGLONG t1 = clock.Now();
    BarePixelRead();
    LONGLONG t2 = clock.Now();
    if (i >= kWarmUp) {
      ours += t1 - t0;
      floor += t2 - t1;
    }
    Pump();  // paint what the move changed, as the message loop would between moves
  }
  form.Picking = kFalse;
  // A run whose moves read nothing would measure nothing.
  COLORREF last = ColumnColour((kWarmUp + kMoves - 1) % kColumns);
  if (form.Text1.Text() != std::to_wstring(GetRValue(last)) || form.Text3.Text() != std::to_wstring(GetBValue(last))) {
    std::fprintf(stderr, "pen moves did not sample the patch colours\n");
    ::ExitProcess(1);
  }
  ReportFigure("pen move", clock.Microseconds(ours) / kMoves, clock.Microseconds(floor) / kMoves, "us",
               Goal::RatioAtMost(2));
  ::ExitProcess(0);  // the tray icon and hover timer go with the process
}
