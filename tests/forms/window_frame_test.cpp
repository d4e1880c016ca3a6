// The borderless window's frame under real pointer input: moving over its bare surface and
// dragging the window by it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "mainwindow/hover_tracking.h"
#include "settings/window_position.h"
#include "support/main_window_fixture.h"

namespace {

// Window pixels below the caption buttons and above the fields, where no control lies.
constexpr POINT kBareSurface{120, 25};
constexpr long kTwipsPerPixel = 15;  // the test display runs at 96 dpi

RECT WindowRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

std::wstring Stored(const wchar_t* key) {
  return ReadSetting(SavedPosition::kApplication, SavedPosition::kSection, key);
}

void StopHoverTimer() {
  ::KillTimer(nullptr, HoverTracking::HoverTimerId);
  HoverTracking::HoverTimerId = 0;
}

// A move loop entered with no button down waits for a click. Should that happen, this guard
// gives the click after a while, so the test reports the fault instead of hanging.
class ClickRescue {
 public:
  explicit ClickRescue(DWORD patienceMs) : patienceMs_(patienceMs) {
    finished_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(::CreateThread(nullptr, 0, Watch, this, 0, nullptr));
  }
  ~ClickRescue() {
    ::SetEvent(finished_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
  }
  bool Rescued() const { return rescued_ != 0; }

 private:
  static DWORD WINAPI Watch(void* param) {
    auto* self = static_cast<ClickRescue*>(param);
    if (::WaitForSingleObject(self->finished_.get(), self->patienceMs_) == WAIT_TIMEOUT) {
      ::InterlockedExchange(&self->rescued_, 1);
      pointer::Press();
      pointer::Release();
    }
    return 0;
  }
  DWORD patienceMs_;
  unique_kernel_handle finished_;
  unique_kernel_handle thread_;
  volatile LONG rescued_ = 0;
};

// A press, a path of pointer moves and a release, given from another thread: the window's own
// thread sits in the system's move loop for the whole drag and cannot send input itself.
struct Drag {
  std::vector<POINT> path;
  std::vector<POINT> reached;  // where the pointer really went, step by step
  RECT afterPress{};
  volatile LONG done = 0;
};

DWORD WINAPI RunDrag(void* param) {
  auto* drag = static_cast<Drag*>(param);
  HWND window = ::FindWindowW(L"HuevikForm", L"Huevik");
  pointer::Press();
  ::Sleep(30);
  drag->afterPress = WindowRect(window);
  for (POINT p : drag->path) {
    pointer::MoveTo(p.x, p.y);
    ::Sleep(20);
    POINT reached{};
    ::GetCursorPos(&reached);
    drag->reached.push_back(reached);
  }
  pointer::Release();
  ::InterlockedExchange(&drag->done, 1);
  return 0;
}

void PerformDrag(Drag& drag) {
  const unique_kernel_handle thread(::CreateThread(nullptr, 0, RunDrag, &drag, 0, nullptr));
  ASSERT_TRUE(PumpUntil([&] { return drag.done != 0; }, 10000)) << "the drag did not finish";
  ::WaitForSingleObject(thread.get(), 5000);
  Pump(50);
}

using WindowFrameTest = MainWindowTest;

TEST_F(WindowFrameTest, SurfaceMoveWithNoButtonMovesNothingButRefreshesResetsAndSaves) {
  HWND window = form().hWnd();
  StopHoverTimer();  // so that only the surface move can put the normal pictures back
  const RECT before = WindowRect(window);
  ASSERT_NE(HoverTracking::HoverRect.Left, static_cast<float>(before.left)) << "the start leaves the rectangle stale";
  ASSERT_EQ(Stored(L"Left"), L"");
  form().CloseButton.SetPicture(form().CloseHoverLook.Picture());
  form().MinimiseButton.SetPicture(form().MinimiseHoverLook.Picture());
  {
    ClickRescue rescue(3000);
    pointer::MoveTo(before.left + kBareSurface.x, before.top + kBareSurface.y);
    EXPECT_FALSE(rescue.Rescued()) << "the move entered a move loop that waited for a click";
  }
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Left, static_cast<float>(before.left));
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Top, static_cast<float>(before.top));
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Width, static_cast<float>(before.right - before.left));
  EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Height, static_cast<float>(before.bottom - before.top));
  EXPECT_EQ(form().CloseButton.Picture(), form().CloseNormalLook.Picture()) << "close button not reset";
  EXPECT_EQ(form().MinimiseButton.Picture(), form().MinimiseNormalLook.Picture()) << "minimise button not reset";
  EXPECT_EQ(Stored(L"Left"), std::to_wstring(before.left * kTwipsPerPixel));
  EXPECT_EQ(Stored(L"Top"), std::to_wstring(before.top * kTwipsPerPixel));
  EXPECT_EQ(Stored(L"Width"), std::to_wstring((before.right - before.left) * kTwipsPerPixel));
  EXPECT_EQ(Stored(L"Height"), std::to_wstring((before.bottom - before.top) * kTwipsPerPixel));
}

// The system's move loop starts at the first pointer move with the button down and follows the
// pointer from there: the window moves by the distance from that first move to the release point.
TEST_F(WindowFrameTest, LeftDragOnTheBareSurfaceOnlyMovesTheWindowAndSavesWhereItLands) {
  const struct {
    const char* start;
    POINT grab;  // window pixels
    bool moves;
  } cases[] = {
      {"bare surface", kBareSurface, true},
      {"label (drawn control)", {40, 72}, false},
      {"text box (windowed control)", {120, 72}, false},
  };
  HWND window = form().hWnd();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    const RECT before = WindowRect(window);
    const POINT from{before.left + c.grab.x, before.top + c.grab.y};
    pointer::MoveTo(from.x, from.y);
    Drag drag;
    drag.path = {{from.x + 2, from.y + 1}, {from.x + 20, from.y + 15}, {from.x + 45, from.y + 30},
                 {from.x + 62, from.y + 41}};
    PerformDrag(drag);
    EXPECT_EQ(drag.afterPress.left, before.left) << "a press alone moved the window";
    const RECT after = WindowRect(window);
    const POINT first = drag.reached.front(), last = drag.reached.back();
    const POINT expected = c.moves ? POINT{before.left + last.x - first.x, before.top + last.y - first.y}
                                   : POINT{before.left, before.top};
    EXPECT_EQ(after.left, expected.x);
    EXPECT_EQ(after.top, expected.y);
    if (!c.moves) continue;
    EXPECT_EQ(Stored(L"Left"), std::to_wstring(after.left * kTwipsPerPixel));
    EXPECT_EQ(Stored(L"Top"), std::to_wstring(after.top * kTwipsPerPixel));
    EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Left, static_cast<float>(after.left));
    EXPECT_FLOAT_EQ(HoverTracking::HoverRect.Top, static_cast<float>(after.top));
  }
}

}  // namespace
