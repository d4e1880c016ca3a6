// The real program on a desktop: a window manager and a panel with a notification area, as a
// Linux user has them. Wine docks each tray icon into the panel as a window of its shell process
// (explorer), and the tips and balloons are that process's tooltip windows. Run by
// desktop_session.sh, once in each locale it names.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/huevik_process.h"
#include "support/patch_window.h"
#include "support/pointer.h"
#include "support/shell_windows.h"
#include "win32/handles.h"

namespace {

const std::wstring kVersionTip = L"Huevik Version1.0.0 (Zentrik)";
const std::wstring kReminderTip = L"主人我在这里";
const std::wstring kReminderBalloon = L"想起我来点一下我哦!";
const std::wstring kAboutTitle = L"关于软件";
const std::wstring kExitItem = L"退出";
constexpr int kTwipsPerPixel = 15;

// The icons docked in the panel: windows of the shell embedded in the panel's own window, which
// Wine shows as a foreign window. With no panel they would sit in Wine's own tray window instead.
BOOL CALLBACK CollectIcon(HWND window, LPARAM icons) {
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (std::wstring(cls) == L"__winex11_tray_icon" && ::IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(icons)->push_back(window);
  return TRUE;
}

std::vector<HWND> DockedIcons() {
  std::vector<HWND> icons;
  for (HWND panel : VisibleTopWindows(L"__wine_x11_foreign_window"))
    ::EnumChildWindows(panel, CollectIcon, reinterpret_cast<LPARAM>(&icons));
  return icons;
}
// Where the icon sits on the screen. Wine does not always follow a window embedded in another
// program's window, and may report the icon at the screen's corner: then the panel's own window
// that holds it tells.
std::optional<RECT> PlaceInThePanel(HWND icon) {
  const int bottom = ::GetSystemMetrics(SM_CYSCREEN);
  for (HWND w = icon; w; w = ::GetAncestor(w, GA_PARENT)) {
    RECT r{};
    ::GetWindowRect(w, &r);
    if (r.top >= bottom - 32 && r.bottom <= bottom && r.right - r.left <= 32) return r;
  }
  return std::nullopt;
}

POINT CentreOf(HWND icon) {
  const RECT r = PlaceInThePanel(icon).value_or(RECT{});
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string Describe(const std::vector<HWND>& icons) {
  std::string out = std::to_string(icons.size());
  for (HWND icon : icons) {
    RECT r{};
    ::GetWindowRect(icon, &r);
    out += " [" + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top) + "]";
  }
  return out;
}

bool WineTrayShown() { return !VisibleTopWindows(L"__winex11_standalone_tray").empty(); }

// Real pointer input through the X server (xdotool), as a user's mouse gives it: the window
// manager and the panel see it too, which they never do for input made inside Wine.
namespace x_pointer {

// Wine starts the Unix program but gives no handle to wait on: the input is given time to
// arrive instead, `ms` being what the xdotool commands take themselves.
void Run(const std::wstring& arguments, DWORD ms = 0) {
  std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
      << "xdotool cannot be started";
  if (process.hThread) ::CloseHandle(process.hThread);
  if (process.hProcess) ::CloseHandle(process.hProcess);
  Pump(ms + 150);
}

void MoveTo(int x, int y) { Run(L"mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y)); }

// 1: left, 3: right.
void ClickOn(POINT at, int button) {
  MoveTo(at.x, at.y);
  Run(L"click " + std::to_wstring(button));
}

// Press at `from`, move in steps by (dx, dy), release.
void Drag(POINT from, int dx, int dy) {
  std::wstring steps;
  for (int step = 1; step <= 8; ++step)
    steps += L" mousemove " + std::to_wstring(from.x + dx * step / 8) + L" " + std::to_wstring(from.y + dy * step / 8) +
             L" sleep 0.1";
  // The window manager takes over the move only once the program has asked it to: the steps
  // begin after a pause.
  Run(L"mousemove " + std::to_wstring(from.x) + L" " + std::to_wstring(from.y) + L" sleep 0.2 mousedown 1 sleep 0.5" +
          steps + L" sleep 0.3 mouseup 1",
      1900);
}

}  // namespace x_pointer

COLORREF ScreenPixel(int x, int y) { return ::GetPixel(window_dc(nullptr).get(), x, y); }

// Points just outside each edge of the window, where a window manager draws a frame.
std::vector<POINT> AroundTheWindow(const RECT& r) {
  const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  return {{midX, r.top - 3}, {r.left - 3, midY}, {r.right + 2, midY}, {midX, r.bottom + 2}, {r.left + 20, r.top - 8}};
}

// --- What the system's UI fonts draw ------------------------------------------------------------

// A character drawn black on white, as a string of one letter per pixel.
std::string Drawing(const LOGFONTW& face, wchar_t ch) {
  constexpr int kSide = 48;
  LOGFONTW large = face;
  large.lfHeight = -32;  // large enough that different glyphs never draw alike
  const unique_font font(::CreateFontIndirectW(&large));
  const unique_mem_dc dc(::CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const unique_bitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const select_guard withBitmap(dc.get(), bitmap.get()), withFont(dc.get(), font.get());
  RECT all{0, 0, kSide, kSide};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::SetTextColor(dc.get(), RGB(0, 0, 0));
  ::SetBkMode(dc.get(), TRANSPARENT);
  ::TextOutW(dc.get(), 4, 4, &ch, 1);
  ::GdiFlush();
  std::string pixels;
  for (int i = 0; i < kSide * kSide; ++i) pixels += (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == 0xFFFFFF ? '.' : '#';
  return pixels;
}

// Each Chinese character of the texts, in each of the fonts the system draws menus, message
// boxes and tips with, must draw as itself: with ink, and not as the drawing of a code point no
// font has (the missing-glyph box) nor as "?".
void ExpectDrawnBySystemFonts(const std::vector<std::wstring>& texts) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  const struct {
    const char* use;
    const LOGFONTW& face;
  } fonts[] = {{"menu", metrics.lfMenuFont}, {"message", metrics.lfMessageFont}, {"status", metrics.lfStatusFont}};
  for (const auto& font : fonts) {
    const std::string missing = Drawing(font.face, L'\x0378'), question = Drawing(font.face, L'?');
    std::wstring undrawn;
    for (const std::wstring& text : texts)
      for (wchar_t ch : text) {
        if (ch < 0x2E80) continue;  // Latin, digits and punctuation are in every UI font
        const std::string drawn = Drawing(font.face, ch);
        if (drawn == missing || drawn == question || drawn.find('#') == std::string::npos) undrawn += ch;
      }
    const std::string face(font.face.lfFaceName, font.face.lfFaceName + wcslen(font.face.lfFaceName));
    EXPECT_TRUE(undrawn.empty()) << "the " << font.use << " font (" << face << ") cannot draw "
                                 << testing::PrintToString(undrawn);
  }
}

// --- The program on the desktop -------------------------------------------------------------------

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    x_pointer::MoveTo(640, 700);
    // The icon of the copy the last test ended stays docked until the shell notices: taken for
    // this copy's icon, it would answer no click.
    ASSERT_TRUE(PumpUntil([] { return DockedIcons().empty(); }, 10000)) << "an icon of an ended copy stays";
    huevik_ = std::make_unique<HuevikProcess>();
    // Docked means placed in the panel along the bottom, which comes a moment after the icon's
    // window is made.
    ASSERT_TRUE(PumpUntil([] { return DockedIcons().size() == 1 && PlaceInThePanel(DockedIcons().front()); }, 10000))
        << "no icon docked in the panel; icons: " << Describe(DockedIcons());
    icon_ = DockedIcons().front();
    shell_ = ProcessOf(icon_);
  }
  HWND window() const { return huevik_->Window(); }
  RECT Place() const {
    RECT r{};
    ::GetWindowRect(window(), &r);
    return r;
  }
  // With the window's own close button, as a user closes it.
  // The first click on a window in the background may only bring it forward: then the user
  // clicks again.
  void CloseAndWaitHidden() {
    const RECT r = Place();
    bool hidden = false;
    for (int attempt = 0; attempt < 3 && !hidden; ++attempt) {
      x_pointer::MoveTo(r.right - 40, r.top + 9);
      x_pointer::MoveTo(r.right - 23, r.top + 9);
      Pump(300);  // the buttons follow the pointer on the hover timer
      x_pointer::Run(L"click 1");
      hidden = PumpUntil([&] { return !::IsWindowVisible(window()); }, 2000);
    }
    ASSERT_TRUE(hidden) << "the window did not hide";
  }
  // A click that reaches the panel while the shell is busy with the balloon can go unanswered,
  // as a user sees too: then the user clicks again.
  HWND OpenMenu() {
    HWND menu = nullptr;
    for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
      x_pointer::ClickOn(CentreOf(icon_), 3);
      PumpUntil([&] { return (menu = VisibleTopWindow(L"#32768", huevik_->Id())) != nullptr; }, 2000);
    }
    return menu;
  }

  std::unique_ptr<HuevikProcess> huevik_;
  HWND icon_ = nullptr;
  DWORD shell_ = 0;
};

TEST_F(DesktopTest, WindowIsBorderlessAndStaysAboveOtherWindows) {
  EXPECT_EQ(::GetWindowLongW(window(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_NE(::GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  // Another program's window opened over it stays below it.
  const RECT r = Place();
  const POINT surface{r.left + 120, r.top + 25};
  const COLORREF before = ScreenPixel(surface.x, surface.y);
  {
    const COLORREF magenta = RGB(255, 0, 255);
    PatchWindow other({r.left + 60, r.top + 10}, {magenta}, 400, 150, WS_OVERLAPPEDWINDOW, 0);
    ::SetForegroundWindow(other.hwnd());
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(r.right + 40, r.top + 60) == magenta; }))
        << "the other window never showed";
    EXPECT_EQ(ScreenPixel(surface.x, surface.y), before) << "the other window covers Huevik";
  }

  // Whatever lies just outside the window is the same with the window shown or hidden: no
  // frame or title bar of the window manager's around it.
  x_pointer::MoveTo(640, 700);
  Pump(300);
  std::vector<COLORREF> shown;
  for (POINT p : AroundTheWindow(r)) shown.push_back(ScreenPixel(p.x, p.y));
  CloseAndWaitHidden();
  Pump(300);
  const std::vector<POINT> around = AroundTheWindow(r);
  for (std::size_t i = 0; i < around.size(); ++i)
    EXPECT_EQ(ScreenPixel(around[i].x, around[i].y), shown[i]) << "a frame at " << around[i].x << "," << around[i].y;
}

BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
  reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(ReadWindowText(child));
  return TRUE;
}

TEST_F(DesktopTest, CaptionsReadAsWrittenInThisLocale) {
  std::vector<std::wstring> texts;
  ::EnumChildWindows(window(), CollectText, reinterpret_cast<LPARAM>(&texts));
  for (const wchar_t* caption : {L"调色板", L"拖动鼠标进行拾色", L"VB专用值", L"通用RGB值", L"Web(其他)"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), caption), texts.end())
        << testing::PrintToString(std::wstring(caption)) << " is not among " << testing::PrintToString(texts);
}

TEST_F(DesktopTest, SurfaceDragMovesTheWindowAndSavesWhereItWent) {
  const RECT from = Place();
  x_pointer::Drag({from.left + 120, from.top + 25}, 80, 48);  // bare surface below the caption buttons
  // The window manager moves the window from the first motion it sees after the program asked
  // it to, so a loaded machine may lose the first steps: the window goes along, not all the way.
  RECT to{};
  ASSERT_TRUE(PumpUntil([&] {
    to = Place();
    return to.left > from.left && to.top > from.top;
  })) << "the window stayed at " << from.left << "," << from.top;
  EXPECT_LE(to.left - from.left, 80);
  EXPECT_LE(to.top - from.top, 48);
  EXPECT_TRUE(PumpUntil([&] {
    return stored::Read(L"Left") == std::to_wstring(to.left * kTwipsPerPixel) &&
           stored::Read(L"Top") == std::to_wstring(to.top * kTwipsPerPixel);
  })) << "at " << to.left << "," << to.top << "; stored: " << testing::PrintToString(stored::Read(L"Left")) << ", "
      << testing::PrintToString(stored::Read(L"Top"));
}

TEST_F(DesktopTest, IconDocksInThePanelShowsTheTextsAndBringsTheWindowBack) {
  EXPECT_NE(shell_, huevik_->Id()) << "the icon is not the shell's";
  EXPECT_FALSE(WineTrayShown()) << "Wine's own tray window shows beside the panel";

  EXPECT_EQ(HoverTip(CentreOf(icon_), shell_, x_pointer::MoveTo), kVersionTip)
      << "icon and its holders: " << Describe({icon_, ::GetAncestor(icon_, GA_PARENT)});
  const RECT home = Place();
  CloseAndWaitHidden();
  EXPECT_TRUE(::IsIconic(window()));
  EXPECT_EQ(BalloonWithin(shell_, 4000), kReminderBalloon);
  EXPECT_EQ(HoverTip(CentreOf(icon_), shell_, x_pointer::MoveTo), kReminderTip);

  x_pointer::ClickOn(CentreOf(icon_), 1);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window()) != FALSE; })) << "the window stayed hidden";
  EXPECT_FALSE(::IsIconic(window()));
  const RECT back = Place();
  EXPECT_TRUE(::EqualRect(&home, &back)) << "came back at " << back.left << "," << back.top;
}

TEST_F(DesktopTest, MenuShowsAboutAndExitEndsTheProgramLeavingNoIcon) {
  CloseAndWaitHidden();
  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr) << "no pop-up menu after a right click on the docked icon";
  RECT items{};
  ::GetWindowRect(menu, &items);
  x_pointer::MoveTo(items.left + 30, items.top + 10);  // the first item
  x_pointer::Run(L"click 1");
  HWND about = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (about = VisibleTopWindow(L"#32770", huevik_->Id(), kAboutTitle.c_str())) != nullptr; }))
      << "no About box";
  const std::wstring aboutText = ReadWindowText(::GetDlgItem(about, 0xFFFF));
  EXPECT_EQ(aboutText.rfind(L"感谢您使用 Huevik  ", 0), 0u) << testing::PrintToString(aboutText);
  Pump(1500);  // a window manager may bring an owner back a while after its owned window shows
  EXPECT_FALSE(::IsWindowVisible(window())) << "About showed the main window";
  ::PostMessageW(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(about) || !::IsWindowVisible(about); }));

  ASSERT_NE(OpenMenu(), nullptr) << "no pop-up menu the second time";
  ChooseExitExpectingStatusZero(*huevik_);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(PumpUntil([] { return DockedIcons().empty(); })) << "the icon stayed in the panel";

  ExpectDrawnBySystemFonts({aboutText, kAboutTitle, kExitItem, kReminderTip, kReminderBalloon,
                            L"冻结屏幕取色 已被其他程序占用 最近的颜色 清除列表"});
}

}  // namespace
