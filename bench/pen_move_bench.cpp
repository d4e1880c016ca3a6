// Cost of one pen move (the pixel read, the swatch and the value field, as the pen's
// move handler does them) against the work no move can avoid: the bare pixel read
// (the pointer position and one pixel from the screen) plus writing the four texts
// into plain edit controls of a plain window, in the font the fields must show them
// in. The same move with the magnifier showing, whose copy of the screen gives the
// pen its pixel too, is measured against the move without it, and the move whose colour
// is the mean over the largest square against the magnifier's one-pixel move, and then a
// move on a frozen screen (its magnifier reads the frozen copy, no field is written)
// against the magnifier's move; for
// information, the move against the bare read alone
// and against plain edits in the system's default font, which is a raster font and
// cheaper to measure than any font a form would show.
// All run here at the same pointer positions over a window whose every column has
// its own colour, so each move really changes the colour shown. Moves with and
// without the magnifier alternate in blocks and the parts take turns at going first,
// so drift in the machine hits all alike; each part starts once the display has drawn
// what the part before it asked for, since otherwise the first call that waits for the
// display (the pointer position, a screen read) would pay for that drawing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_report.h"
#include "mainwindow/main_window.h"
#include "support/patch_window.h"
#include "support/pointer.h"
#include "win32/handles.h"

namespace {

constexpr int kMoves = 6000;  // a first argument overrides, for a quick look
constexpr int kWarmUp = 500;
constexpr int kBlock = 250;  // moves in a row in one of the three ways below
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

COLORREF BarePixelRead() {
  POINT at{};
  ::GetCursorPos(&at);
  window_dc screen(nullptr);
  return ::GetPixel(screen.get(), at.x, at.y);
}

// Waits until the display has drawn everything asked of it: a pixel read from the
// screen comes back only then. Each part starts from an idle display, and no part
// pays for the drawing of the part before it.
void SettleDisplay() {
  window_dc screen(nullptr);
  g_sink = ::GetPixel(screen.get(), 0, 0);
}

// The least a move must do to show a colour: read the pixel and write red, green,
// blue and the value into four plain edit controls of a plain window.
class PlainFields {
 public:
  // A null font leaves the edits in the system's default font.
  PlainFields(POINT at, HFONT font) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HuevikPlainFields";
    ::RegisterClassW(&wc);
    window_ = ::CreateWindowExW(0, wc.lpszClassName, L"floor", WS_POPUP | WS_VISIBLE, at.x, at.y, 200, 160, nullptr,
                                nullptr, wc.hInstance, nullptr);
    for (int i = 0; i < 4; ++i) {
      edits_[i] = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10,
                                    10 + 30 * i, 120, 24, window_, nullptr, nullptr, nullptr);
      if (font) ::SendMessageW(edits_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
  PlainFields(const PlainFields&) = delete;
  PlainFields& operator=(const PlainFields&) = delete;
  ~PlainFields() { ::DestroyWindow(window_); }

  void Move() {
    COLORREF colour = BarePixelRead();
    wchar_t text[4][16];
    std::swprintf(text[0], 16, L"%u", GetRValue(colour));
    std::swprintf(text[1], 16, L"%u", GetGValue(colour));
    std::swprintf(text[2], 16, L"%u", GetBValue(colour));
    std::swprintf(text[3], 16, L"&H%lX&", static_cast<unsigned long>(colour));
    for (int i = 0; i < 4; ++i) ::SetWindowTextW(edits_[i], text[i]);
  }

 private:
  HWND window_ = nullptr;
  HWND edits_[4] = {};
};

// What the moves measured, each part on its own: the handler (with the magnifier hidden
// or shown) and the floors; in microseconds per move.
enum Part { kOurs, kBare, kFloor, kSystemFontFloor, kParts };
// How our moves read: the one pixel alone, through the magnifier, or its mean over 9 x 9.
enum Way { kAlone, kMagnified, kMean, kWays };
struct PerMove {
  double part[kParts] = {};
  double ours[kWays] = {};
};

// A pen pick for the way the next moves read: its square sized, its magnifier shown or not.
void ReadNextMovesBy(MainWindow& form, Way way) {
  form.Picks().EndPenDrag();
  form.Picks().SetSquareSide(way == kMean ? magnifier::kLargestSquare : magnifier::kSmallestSquare);
  form.Picks().StartPenDrag(way != kAlone);
  Pump();
}

// Moves on a frozen screen, after the pen's, so that the frozen windows' coming and going
// never lands in them: the window under the pointer is told, as the system tells it.
double FrozenMoveMicroseconds(MainWindow& form, POINT origin, int moves) {
  Stopwatch clock;
  form.Picks().StartOrEndFrozenPick();
  Pump(200);
  LONGLONG spent = 0;
  for (int i = 0; i < kWarmUp + moves; ++i) {
    POINT at{origin.x + i % kColumns, origin.y + (i / kColumns) % kRows};
    ::SetCursorPos(at.x, at.y);
    Pump();
    SettleDisplay();
    LONGLONG t0 = clock.Now();
    ::SendMessageW(::WindowFromPoint(at), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    if (i >= kWarmUp) spent += clock.Now() - t0;
  }
  form.Picks().StartOrEndFrozenPick();  // dropped, and let go once its end arrives
  Pump(50);
  return clock.Microseconds(spent) / moves;
}

// The pen is held (PenDragging) while the pointer steps over the patches; each move runs
// every part once, each after the paint of the last and on a settled display.
PerMove MeasureMoves(MainWindow& form, PlainFields& floorFields, PlainFields& systemFontFields, POINT origin, int moves) {
  Stopwatch clock;
  LONGLONG spent[kParts] = {}, oursBy[kWays] = {};
  int counted[kWays] = {};
  for (int i = 0; i < kWarmUp + moves; ++i) {
    Way way = static_cast<Way>((i / kBlock) % kWays);
    POINT at{origin.x + i % kColumns, origin.y + (i / kColumns) % kRows};
    ::SetCursorPos(at.x, at.y);
    if (i % kBlock == 0) ReadNextMovesBy(form, way);
    for (int turn = 0; turn < kParts; ++turn) {
      Part part = static_cast<Part>((turn + i) % kParts);
      LONGLONG t0 = clock.Now();
      switch (part) {
        case kOurs: form.Picks().FollowPen(); break;
        case kBare: g_sink = BarePixelRead(); break;
        case kFloor: floorFields.Move(); break;
        case kSystemFontFloor: systemFontFields.Move(); break;
        default: break;
      }
      LONGLONG t1 = clock.Now();
      if (i >= kWarmUp) {
        spent[part] += t1 - t0;
        if (part == kOurs) oursBy[way] += t1 - t0;
      }
      Pump();  // paint what the part changed, as the message loop would between moves
      SettleDisplay();
    }
    if (i >= kWarmUp) ++counted[way];
  }
  form.Picks().EndPenDrag();
  PerMove result;
  for (int part = 0; part < kParts; ++part) result.part[part] = clock.Microseconds(spent[part]) / moves;
  for (int way = 0; way < kWays; ++way) result.ours[way] = clock.Microseconds(oursBy[way]) / counted[way];
  return result;
}

// How long SendInput takes to hand the system a pointer move while the GUI thread spends 20 ms on
// each move it gets, as a screen copy can under a compositor: with a pen drag under way (its
// low-level hooks answer every move) against the same moves with none. The median, in
// microseconds; the moves go back and forth by a pixel over the patches.
struct Delivery {
  POINT at;
  int moves;
  std::vector<double> took;
  volatile LONG done = 0;
};

DWORD WINAPI SendMoves(void* param) {
  auto& delivery = *static_cast<Delivery*>(param);
  Stopwatch clock;
  for (int i = 0; i < delivery.moves; ++i) {
    const LONGLONG begin = clock.Now();
    pointer::SendMoveTo(delivery.at.x + i % 2, delivery.at.y);
    delivery.took.push_back(clock.Microseconds(clock.Now() - begin));
    ::Sleep(25);
  }
  ::InterlockedExchange(&delivery.done, 1);
  return 0;
}

double DeliveryMicroseconds(MainWindow& form, POINT at, bool dragging) {
  if (dragging) form.Picks().StartPenDrag(true);
  Delivery delivery{at, 120, {}};
  delivery.took.reserve(static_cast<size_t>(delivery.moves));
  const unique_kernel_handle sender(::CreateThread(nullptr, 0, SendMoves, &delivery, 0, nullptr));
  Stopwatch clock;
  while (!delivery.done) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_MOUSEMOVE)
        for (const LONGLONG begin = clock.Now(); clock.Microseconds(clock.Now() - begin) < 20000;) {
        }
      ::DispatchMessageW(&msg);
    }
    ::Sleep(1);
  }
  ::WaitForSingleObject(sender.get(), INFINITE);
  if (dragging) form.Picks().EndPenDrag();
  std::sort(delivery.took.begin(), delivery.took.end());
  return delivery.took[delivery.took.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  // Whole rounds of the ways, so the last block, the one checked below, reads one pixel.
  const int rounds = (argc > 1 ? std::max(1, std::atoi(argv[1])) : kMoves) / (kBlock * kWays);
  const int moves = std::max(1, rounds) * kBlock * kWays;
  MainWindow form;
  form.Show();
  HFONT fieldFont = reinterpret_cast<HFONT>(::SendMessageW(form.RedField.Handle(), WM_GETFONT, 0, 0));
  PlainFields floorFields({860, 300}, fieldFont);
  PlainFields systemFontFields({1060, 300}, nullptr);
  std::vector<COLORREF> columns;
  for (int x = 0; x < kColumns; ++x) columns.push_back(ColumnColour(x));
  PatchWindow patches({860, 100}, columns, 1, kRows);
  Pump(200);
  POINT origin{0, 0};
  ::ClientToScreen(patches.hwnd(), &origin);

  const PerMove cost = MeasureMoves(form, floorFields, systemFontFields, origin, moves);
  // A run whose moves read nothing would measure nothing.
  COLORREF last = ColumnColour((kWarmUp + moves - 1) % kColumns);
  if (form.RedField.Text() != std::to_wstring(GetRValue(last)) || form.BlueField.Text() != std::to_wstring(GetBValue(last))) {
    std::fprintf(stderr, "pen moves did not sample the patch colours\n");
    ::ExitProcess(1);
  }
  const double withoutMagnifier = cost.ours[kAlone];
  ReportFigure("pen move", withoutMagnifier, cost.part[kFloor], "us", Goal::RatioAtMost(1.1));
  ReportFigure("pen move with magnifier", cost.ours[kMagnified], withoutMagnifier, "us", Goal::RatioAtMost(1.15));
  ReportFigure("pen move with a 9 x 9 mean", cost.ours[kMean], cost.ours[kMagnified], "us", Goal::RatioAtMost(1.05));
  ReportFigure("move on a frozen screen", FrozenMoveMicroseconds(form, origin, moves / kWays), cost.ours[kMagnified],
               "us", Goal::RatioAtMost(0.5));
  const POINT over{origin.x + 10, origin.y + 10};
  const double floorDelivery = DeliveryMicroseconds(form, over, false);
  ReportFigure("pointer move handed over during a drag, GUI busy 20 ms a move", DeliveryMicroseconds(form, over, true),
               floorDelivery, "us", Goal::RatioAtMost(1.2));
  ReportFigure("pen move over the bare pixel read", withoutMagnifier, cost.part[kBare], "us", Goal{});
  ReportFigure("pen move over edits in the default font", withoutMagnifier, cost.part[kSystemFontFloor], "us",
               Goal{});
  ::ExitProcess(0);  // the tray icon and hover timer go with the process
}
