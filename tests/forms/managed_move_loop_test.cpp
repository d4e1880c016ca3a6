// The surface drag where Wine's X11 driver manages the windows and a window manager moves them.
// The driver's move loop hands every message on to the window, pointer moves over the surface
// included (the system's own loop keeps those to itself): only the program's guard keeps such a
// move from starting a second loop inside the first. The drag comes from outside
// (tests/managed/move_loop.sh), through the X server as a user's would; elsewhere this test is
// skipped.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/main_window_fixture.h"
#include "tray/taskbar_menu.h"

namespace {

constexpr POINT kBareSurface{120, 25};  // window pixels below the caption buttons, beside no control

WNDPROC g_ownProcedure = nullptr;
int g_moveLoops = 0, g_depth = 0, g_deepest = 0;

LRESULT CALLBACK CountingMoveLoops(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_SYSCOMMAND || (wp & 0xFFF0) != SC_MOVE) return ::CallWindowProcW(g_ownProcedure, window, msg, wp, lp);
  // A window manager that leaves the pointer to the window sends its moves on during the drag;
  // one such move waits in the queue as the first loop starts.
  if (++g_moveLoops == 1)
    ::PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kBareSurface.x + 3, kBareSurface.y + 2));
  g_deepest = std::max(g_deepest, ++g_depth);
  LRESULT result = ::CallWindowProcW(g_ownProcedure, window, msg, wp, lp);
  --g_depth;
  return result;
}

std::wstring BesideTheTests(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

using ManagedMoveLoopTest = MainWindowTest;

TEST_F(ManagedMoveLoopTest, ASurfaceDragRunsOneMoveLoopAtATime) {
  if (!std::getenv("HUEVIK_MANAGED_DRAG")) GTEST_SKIP() << "needs the managed display of tests/managed/move_loop.sh";
  const std::wstring request = BesideTheTests(L"managed-drag-request.txt");
  const std::wstring done = BesideTheTests(L"managed-drag-done.txt");
  ::DeleteFileW(done.c_str());
  g_ownProcedure = TaskbarMenu::TaskbarPrevProc;
  TaskbarMenu::TaskbarPrevProc = CountingMoveLoops;
  RECT before{};
  ::GetWindowRect(form().hWnd(), &before);
  if (FILE* out = _wfopen(request.c_str(), L"w")) {
    std::fprintf(out, "%ld %ld\n", before.left + kBareSurface.x, before.top + kBareSurface.y);
    std::fclose(out);
  }
  const bool dragged = PumpUntil([&] { return Exists(done); }, 30000);
  Pump(200);
  TaskbarMenu::TaskbarPrevProc = g_ownProcedure;
  ::DeleteFileW(request.c_str());
  ASSERT_TRUE(dragged) << "the drag from outside never came";
  RECT after{};
  ::GetWindowRect(form().hWnd(), &after);
  EXPECT_GE(g_moveLoops, 1) << "no move loop ran";
  EXPECT_NE(after.left, before.left) << "the window did not follow the drag";
  EXPECT_EQ(g_deepest, 1) << "a move loop started inside another (" << g_moveLoops << " in all)";
}

}  // namespace
