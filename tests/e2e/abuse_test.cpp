// The real program under long series and storms of input, as users and other
// programs could give it: it must stay up, stay correct and keep no handle it
// does not need.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "support/huevik_process.h"
#include "support/patch_window.h"
#include "support/pointer.h"
#include "support/shell_windows.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 1;
const POINT kPen{176 + 8 + 24 + 24, 40 + 16 + 8 + 24};      // client centre of the pick pen
const POINT kPalette{8 + 8 + 20, 136 + 16 + 20};           // a point inside the palette chart
const POINT kValueField{85, 45}, kRed{85, 70}, kGreen{85, 93}, kBlue{85, 116}, kDialogButton{260, 235};

void MoveTo(POINT p) { pointer::SendMoveTo(p.x, p.y); }

void PumpOwn(DWORD ms) {
  DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(1);
  } while (::GetTickCount() - start < ms);
}

class AbuseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    huevik_ = std::make_unique<HuevikProcess>();
    ::GetWindowRect(window(), &place_);
  }
  // A case that stopped in a drag leaves no button held for the next.
  void TearDown() override {
    if (::GetAsyncKeyState(VK_LBUTTON) < 0) pointer::Release();
  }
  HWND window() const { return huevik_->Window(); }
  POINT Screen(POINT client) const { return {place_.left + client.x, place_.top + client.y}; }
  std::wstring Text(POINT client) const { return ReadWindowText(huevik_->ChildAt(client.x, client.y)); }
  bool Responsive() const {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
  }
  // Waits until the value field shows the text (each sample is then known to be done).
  bool WaitForValue(const std::wstring& expected, DWORD timeoutMs = 2000) const {
    DWORD start = ::GetTickCount();
    while (Text(kValueField) != expected) {
      if (::GetTickCount() - start > timeoutMs) return false;
      ::Sleep(0);
    }
    return true;
  }
  // Alternates between two patches, so each move really samples a new colour; the moves
  // whose colour did not show in time.
  int DragThePenOver(const PatchWindow& patches, int moves) const {
    MoveTo(Screen(kPen));
    pointer::SendButton(MOUSEEVENTF_LEFTDOWN);
    int missed = 0;
    for (int i = 0; i < moves && missed <= 20; ++i) {
      const int patch = i % 2;
      MoveTo(patches.At(static_cast<size_t>(patch), (i / 2) % 15 - 7, (i / 30) % 15 - 7));
      if (!WaitForValue(patch ? L"&HC08040&" : L"&H102030&")) ++missed;
    }
    pointer::SendButton(MOUSEEVENTF_LEFTUP);
    return missed;
  }
  // The counts once the program is idle: a paint or move still under way holds objects of its
  // own for a moment, a leak holds them for good. Two looks apart must agree.
  HuevikProcess::GuiObjects SettledObjects() const {
    HuevikProcess::GuiObjects counted;
    for (int look = 0; look < 20; ++look) {
      EXPECT_TRUE(Responsive());
      PumpOwn(50);
      counted = huevik_->Objects();
      PumpOwn(50);
      if (huevik_->Objects() == counted) break;
    }
    EXPECT_NE(counted.user, 0u) << "no count of user objects";
    EXPECT_NE(counted.graphics, 0u) << "no count of graphics objects";
    return counted;
  }
  void ExpectFieldsAreNumbers() const {
    for (POINT field : {kRed, kGreen, kBlue}) {
      std::wstring text = Text(field);
      ASSERT_FALSE(text.empty());
      EXPECT_EQ(text.find_first_not_of(L"0123456789"), std::wstring::npos) << "field text " << text.size();
      EXPECT_LE(std::wcstol(text.c_str(), nullptr, 10), 255);
    }
  }
  std::unique_ptr<HuevikProcess> huevik_;
  RECT place_{};
};

// A graphics or user object left behind per move or per drag shows in the counts at once.
TEST_F(AbuseTest, PenDragsLeaveTheObjectCountsAsTheyWere) {
  PatchWindow patches({40, 600}, {0x00102030, 0x00C08040});
  PumpOwn(100);
  EXPECT_LE(DragThePenOver(patches, 200), 20) << "samples stopped matching the screen";
  const HuevikProcess::GuiObjects before = SettledObjects();
  EXPECT_LE(DragThePenOver(patches, 400), 20) << "samples stopped matching the screen";
  const HuevikProcess::GuiObjects after = SettledObjects();
  EXPECT_EQ(after.graphics, before.graphics) << "graphics objects";
  EXPECT_EQ(after.user, before.user) << "user objects";
  ExpectFieldsAreNumbers();
  EXPECT_EQ(Text(kRed), L"64");  // the last sample: the second patch
}

// The count sees a leak: the test build armed to leave a brush behind at each new colour holds
// about one more object a move.
TEST_F(AbuseTest, ALeakedObjectAMoveShowsInTheCount) {
  huevik_.reset();  // one copy runs at a time
  huevik_ = std::make_unique<HuevikProcess>(TestProgramDir() + L"\\faulty");
  ::GetWindowRect(window(), &place_);
  PatchWindow patches({40, 600}, {0x00102030, 0x00C08040});
  ::SendMessageW(window(), ::RegisterWindowMessageW(L"HuevikTest.ArmLeak"), 0, 0);
  const HuevikProcess::GuiObjects before = SettledObjects();
  const int missed = DragThePenOver(patches, 300);
  EXPECT_GE(SettledObjects().graphics, before.graphics + 300 - 2 * static_cast<DWORD>(missed));
}

// A graphics or user object left behind per palette move or per hide and restore shows in the
// counts at once; the window comes back where it was, and still paints and samples.
TEST_F(AbuseTest, PaletteDragsAndCloseRestoreCyclesLeaveTheObjectCountsAsTheyWere) {
  const auto dragThePaletteAndCycle = [this](int moves, int cycles) {
    MoveTo(Screen(kPalette));
    pointer::SendButton(MOUSEEVENTF_LEFTDOWN);
    for (int i = 0; i < moves; ++i) {
      const POINT p = Screen(kPalette);
      MoveTo({p.x + (i * 13) % 250 - 5, p.y + (i % 40) - 10});
    }
    pointer::SendButton(MOUSEEVENTF_LEFTUP);
    for (int i = 0; i < cycles; ++i) {
      ::SendMessageW(window(), WM_CLOSE, 0, 0);
      ::SendMessageW(window(), kTrayCallback, 0, WM_LBUTTONUP);
    }
  };
  dragThePaletteAndCycle(200, 10);
  const HuevikProcess::GuiObjects before = SettledObjects();
  dragThePaletteAndCycle(600, 100);
  const HuevikProcess::GuiObjects after = SettledObjects();
  EXPECT_EQ(after.graphics, before.graphics) << "graphics objects";
  EXPECT_EQ(after.user, before.user) << "user objects";
  EXPECT_TRUE(::IsWindowVisible(window()));
  EXPECT_FALSE(::IsIconic(window()));
  RECT now{};
  ::GetWindowRect(window(), &now);
  EXPECT_EQ(now.left, place_.left);
  EXPECT_EQ(now.top, place_.top);
  // Painting and sampling still work: a click on the palette takes its colour.
  MoveTo(Screen(kPalette));
  pointer::SendButton(MOUSEEVENTF_LEFTDOWN);
  pointer::SendButton(MOUSEEVENTF_LEFTUP);
  ::Sleep(200);
  EXPECT_TRUE(Responsive());
  ExpectFieldsAreNumbers();
}

HWND FindDialogOwnedBy(HWND owner) {
  for (HWND w = ::FindWindowW(L"#32770", nullptr); w; w = ::FindWindowExW(nullptr, w, L"#32770", nullptr))
    if (::GetWindow(w, GW_OWNER) == owner) return w;
  return nullptr;
}

// Opened and cancelled again and again, the colour dialog changes no colour and leaves nothing
// behind.
TEST_F(AbuseTest, ColourDialogsOpenedAndCancelledLeaveTheColourAndTheObjectCounts) {
  HWND button = huevik_->ChildAt(kDialogButton.x, kDialogButton.y);
  std::wstring before = Text(kValueField);
  const auto openAndCancel = [&](int times) {
    int opened = 0;
    for (int i = 0; i < times; ++i) {
      ::PostMessageW(button, BM_CLICK, 0, 0);
      HWND dialog = nullptr;
      for (int wait = 0; wait < 500 && !dialog; ++wait) {
        dialog = FindDialogOwnedBy(window());
        if (!dialog) ::Sleep(2);
      }
      if (!dialog) break;
      ++opened;
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      for (int wait = 0; wait < 500 && ::IsWindow(dialog); ++wait) ::Sleep(2);
    }
    return opened;
  };
  EXPECT_EQ(openAndCancel(3), 3);
  const HuevikProcess::GuiObjects objects = SettledObjects();
  EXPECT_EQ(openAndCancel(30), 30);
  EXPECT_EQ(SettledObjects(), objects) << "graphics or user objects left behind";
  EXPECT_EQ(Text(kValueField), before) << "a cancelled dialog changed the colour";
}

TEST_F(AbuseTest, AStormOfMessagesLeavesTheProgramUpAndItsDataValid) {
  std::mt19937 random(20261207);
  // Tray callbacks of every kind but the one that opens the menu (a modal loop of its own).
  for (int i = 0; i < 2000; ++i) {
    LPARAM lp = static_cast<LPARAM>(random() % 0x1000);
    if (lp == WM_RBUTTONUP) continue;
    ::SendMessageTimeoutW(window(), kTrayCallback, random() % 3, lp, SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  EXPECT_TRUE(Responsive());
  // Every system command and its low-bit variants; Escape ends any loop one of them starts.
  for (WPARAM command = SC_SIZE; command <= SC_CONTEXTHELP; command += 0x10) {
    for (WPARAM low : {0, 1, 2, 0xF}) {
      if ((command | low) == (SC_SCREENSAVE | low) || (command | low) == (SC_MONITORPOWER | low)) continue;
      ::PostMessageW(window(), WM_SYSCOMMAND, command | low, 0);
      ::Sleep(5);
      SendKey(VK_ESCAPE);
      ::SendMessageTimeoutW(window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    }
  }
  EXPECT_TRUE(Responsive());
  ::SendMessageW(window(), kTrayCallback, 0, WM_LBUTTONUP);  // bring it back if a command hid it
  // Arbitrary text into the read-only fields, then a new colour.
  std::wstring garbage;
  for (int i = 0; i < 300; ++i) garbage += static_cast<wchar_t>(1 + random() % 0xD7FF);
  for (POINT field : {kRed, kGreen, kBlue, kValueField}) {
    HWND edit = huevik_->ChildAt(field.x, field.y);
    ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(garbage.c_str()), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
  }
  ::GetWindowRect(window(), &place_);
  MoveTo(Screen(kPalette));
  pointer::SendButton(MOUSEEVENTF_LEFTDOWN);
  pointer::SendButton(MOUSEEVENTF_LEFTUP);
  ::Sleep(300);
  EXPECT_TRUE(Responsive());
  ExpectFieldsAreNumbers();
  // Pointer input at random places during a pen drag.
  MoveTo(Screen(kPen));
  pointer::SendButton(MOUSEEVENTF_LEFTDOWN);
  const auto width = static_cast<unsigned>(::GetSystemMetrics(SM_CXSCREEN));
  const auto height = static_cast<unsigned>(::GetSystemMetrics(SM_CYSCREEN));
  for (int i = 0; i < 3000; ++i) MoveTo({static_cast<int>(random() % width), static_cast<int>(random() % height)});
  pointer::SendButton(MOUSEEVENTF_LEFTUP);
  ::Sleep(300);
  EXPECT_TRUE(huevik_->Running());
  EXPECT_TRUE(Responsive());
  ExpectFieldsAreNumbers();
  for (const wchar_t* key : {L"Left", L"Top", L"Width", L"Height"}) {
    std::wstring value = stored::Read(key);
    if (value == L"<absent>") continue;
    wchar_t* end = nullptr;
    std::wcstod(value.c_str(), &end);
    EXPECT_TRUE(end && *end == L'\0' && end != value.c_str()) << "a stored value does not parse";
  }
}

// Every message but those that by their meaning end a program or start a modal loop: among the
// latter the taskbar's request for the window menu, which waits for the user as the menu would.
constexpr UINT kPopUpWindowMenu = 0x313;
bool AnyProgramMaySend(UINT msg) {
  return msg != WM_QUIT && msg != WM_ENDSESSION && msg != WM_SYSCOMMAND && msg != kPopUpWindowMenu &&
         (msg < WM_NCLBUTTONDOWN || msg > WM_NCXBUTTONDBLCLK);
}

// Creation messages with a well-formed record (the system copies it across, and refuses to post
// them) whose object is wild; destruction, close, quit and resolution messages posted and sent, and
// posted to the window's thread.
void SendCreationAndDestruction(HWND to) {
  CREATESTRUCTW record{};
  record.lpCreateParams = reinterpret_cast<void*>(0x1234);
  for (UINT msg : {WM_NCCREATE, WM_CREATE})
    ::SendMessageTimeoutW(to, msg, 0, reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG, 500, nullptr);
  EXPECT_NE(::GetWindowLongPtrW(to, GWLP_USERDATA), 0x1234) << "a forged creation gave a window another object";
  for (UINT msg : {WM_DESTROY, WM_NCDESTROY, WM_CLOSE, WM_QUIT, WM_DPICHANGED}) {
    ::PostMessageW(to, msg, MAKEWPARAM(192, 192), 0);
    ::PostThreadMessageW(::GetWindowThreadProcessId(to, nullptr), msg, MAKEWPARAM(192, 192), 0);
    ::SendMessageTimeoutW(to, msg, MAKEWPARAM(192, 192), 0, SMTO_ABORTIFHUNG, 500, nullptr);
  }
}

// The program's own windows: the system's controls answer for themselves.
BOOL CALLBACK AddOwnChild(HWND child, LPARAM list) {
  wchar_t name[32] = {};
  ::GetClassNameW(child, name, 32);
  if (std::wstring(name).starts_with(L"Huevik")) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

TEST_F(AbuseTest, ForeignMessagesWithAnyParametersLeaveTheProgramAnsweringAndPicking) {
  const LONG width = place_.right - place_.left;
  // A resolution change no system sent: no rectangle, or an address in another process.
  for (LPARAM wild : {LPARAM{0}, static_cast<LPARAM>(0x13572468), LPARAM{-1}}) {
    ::PostMessageW(window(), WM_DPICHANGED, MAKEWPARAM(192, 192), wild);
    ::SendMessageTimeoutW(window(), WM_DPICHANGED, MAKEWPARAM(144, 144), wild, SMTO_ABORTIFHUNG, 2000, nullptr);
    ::PostMessageW(window(), kTrayCallback, 0, wild);
  }
  ASSERT_TRUE(Responsive()) << "a resolution change without a rectangle ended the program";
  ::GetWindowRect(window(), &place_);
  EXPECT_EQ(place_.right - place_.left, width) << "not laid out for its own resolution";
  // The tray menu open, its owner TrayMenuOwner among the targets.
  ::PostMessageW(window(), kTrayCallback, 0, WM_RBUTTONUP);
  HWND form2 = nullptr, menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    return (form2 = ::FindWindowW(L"HuevikForm", L"Form2")) && (menu = ::FindWindowW(L"#32768", nullptr));
  })) << "no tray menu";
  std::vector<HWND> targets{window()};
  ::EnumChildWindows(window(), AddOwnChild, reinterpret_cast<LPARAM>(&targets));
  for (HWND to : targets) SendCreationAndDestruction(to);
  SendCreationAndDestruction(form2);
  ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(menu); })) << "the menu stayed";
  std::mt19937 random(21);
  auto parameter = [&] { return random() % 3 == 0 ? 0 : random() % 2 ? random() % 0x10000 : random(); };
  for (int i = 0; i < 4000; ++i) {
    const UINT msg = (random() % 2 ? 0 : random() % 2 ? WM_USER : WM_APP) + random() % 0x400;
    const auto wp = static_cast<WPARAM>(parameter());
    const auto lp = static_cast<LPARAM>(parameter());
    HWND to = targets[random() % targets.size()];
    // A message the system will not post carries a pointer that the system copies across: not ours.
    if (AnyProgramMaySend(msg) && (::PostMessageW(to, msg, wp, lp) || ::GetLastError() != ERROR_MESSAGE_SYNC_ONLY))
      ::SendMessageTimeoutW(to, msg, wp, lp, SMTO_ABORTIFHUNG, 100, nullptr);
  }
  // Posts are taken in order: once a minimise posted last is done, so is (nearly always) every post
  // before it; a message before it may have minimised the window already.
  ::PostMessageW(window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  for (int wait = 0; wait < 3000 && !::IsIconic(window()); ++wait) ::Sleep(10);
  ASSERT_TRUE(Responsive());
  // The messages may have done what a user can (hide to the tray, press the pen), and some make the
  // system post more while they are handled (a close for Alt+F4): the tray's click, posted after
  // them, brings the window back until it stays.
  auto shown = [&] { return ::IsWindowVisible(window()) && !::IsIconic(window()); };
  bool back = false;
  for (int round = 0; round < 5 && !back; ++round) {
    ::PostMessageW(window(), kTrayCallback, 0, WM_LBUTTONUP);
    back = PumpUntil(shown) && !PumpUntil([&] { return !shown(); }, 300);
  }
  ASSERT_TRUE(back) << "the tray did not bring the window back";
  ::GetWindowRect(window(), &place_);
  PatchWindow patches({40, 600}, {0x00102030, 0x00C08040});
  PumpOwn(100);
  pointer::MoveTo(Screen(kPen).x, Screen(kPen).y);
  pointer::Press();
  PumpOwn(100);
  HWND magnifier = ::FindWindowW(L"HuevikMagnifier", nullptr);
  ASSERT_NE(magnifier, nullptr) << "no magnifier during the drag";
  for (int patch : {0, 1}) {
    MoveTo(patches.At(static_cast<size_t>(patch)));
    EXPECT_TRUE(WaitForValue(patch ? L"&HC08040&" : L"&H102030&")) << "patch " << patch << ": " << Text(kValueField);
    for (HWND to : {magnifier, form2}) SendCreationAndDestruction(to);
    ::RedrawWindow(magnifier, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_TRUE(::IsWindow(magnifier) && ::IsWindow(form2)) << "foreign messages ended the magnifier or TrayMenuOwner";
  MoveTo(patches.At(0, 3));
  EXPECT_TRUE(WaitForValue(L"&H102030&")) << Text(kValueField);
  pointer::Release();
  EXPECT_TRUE(huevik_->Running());
}

// The session's end, the hotkey, the front, the display and the wheel, forged at every window of
// a frozen pick and at the main window, sent and posted, each during a pick and at rest: the
// program goes on with its icon, a pick can end as at the hotkey, and no colour is taken.
TEST_F(AbuseTest, ForgedSessionHotkeyFrontDisplayAndWheelMessagesTakeNothing) {
  const std::wstring value = Text(kValueField);
  const DWORD clipboard = ::GetClipboardSequenceNumber();
  const LPARAM hotkey = MAKELPARAM(MOD_WIN | MOD_ALT, 'C'), logoff = static_cast<LPARAM>(ENDSESSION_LOGOFF);
  const struct {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  } kForged[] = {{WM_QUERYENDSESSION, 0, logoff}, {WM_ENDSESSION, 1, 0}, {WM_ENDSESSION, 1, logoff},
                 {WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0},     {WM_ACTIVATEAPP, 1, 0}, {WM_HOTKEY, 1, hotkey},
                 {WM_ACTIVATEAPP, 0, 0},                      {WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800)}};
  for (const auto& forged : kForged) {
    for (bool atRest : {true, false}) {
      std::vector<HWND> targets{window()};
      if (!atRest) {
        // A pick ends at once where the system is still handing the front to a window that a
        // case before left behind: then the hotkey goes again.
        bool picking = false;
        for (int tries = 0; tries < 3 && !picking; ++tries) {
          ::PostMessageW(window(), WM_HOTKEY, 1, hotkey);
          picking = PumpUntil([&] { return !VisibleTopWindows(L"HuevikMagnifier", huevik_->Id()).empty(); }, 1000);
        }
        ASSERT_TRUE(picking) << std::hex << forged.msg;
        for (const wchar_t* cls : {L"HuevikFrozenScreen", L"HuevikMagnifier"})
          for (HWND w : VisibleTopWindows(cls, huevik_->Id())) targets.push_back(w);
      }
      for (HWND to : targets) {
        ::PostMessageW(to, forged.msg, forged.wp, forged.lp);
        ::SendMessageTimeoutW(to, forged.msg, forged.wp, forged.lp, SMTO_ABORTIFHUNG, 2000, nullptr);
      }
      ASSERT_TRUE(Responsive()) << std::hex << forged.msg;
      PumpOwn(300);        // a forged hotkey's pick shows, or ends
      SendKey(VK_ESCAPE);  // and one still under way ends untaken
      EXPECT_TRUE(PumpUntil([&] { return VisibleTopWindows(L"HuevikFrozenScreen", huevik_->Id()).empty(); }));
    }
  }
  EXPECT_TRUE(huevik_->Running());
  EXPECT_EQ(wine_tray::Icons().size(), 1u) << "the icon went";
  EXPECT_EQ(Text(kValueField), value);
  EXPECT_EQ(::GetClipboardSequenceNumber(), clipboard);
}

}  // namespace
