// The form runtime's own rules, on a small form of the test's own.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "settings/settings_store.h"
#include "controls/form.h"
#include "support/message_log.h"
#include "support/pointer.h"

namespace {

const ControlSpec kControls[] = {
    {.kind = ControlKind::TextBox, .name = L"Box", .place = {150, 150, 1500, 300}, .text = L"start", .locked = true},
    {.kind = ControlKind::PictureBox, .name = L"Pad", .place = {150, 750, 1500, 1500}, .backColor = 0x00102030},
    {.kind = ControlKind::Image, .name = L"Knob", .container = L"Pad", .place = {300, 300, 300, 300}},
    {.kind = ControlKind::Frame, .name = L"Group", .place = {1800, 150, 1050, 750}, .text = L"Group"},
};
const FormSpec kSpec{.caption = L"FormLayerProbe", .clientWidth = 3000, .clientHeight = 3000, .borderless = true,
                     .controls = kControls};

class ProbeForm : public Form {
 public:
  ProbeForm() : Form(kSpec) {}
  bool keepOnClose = false;
  int unloads = 0;
  int activations = 0;
  MessageLog log;  // closing, deactivation and destruction

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    auto handle = [&] { return Form::OnMessage(msg, wp, lp); };
    if (msg == WM_CLOSE || msg == WM_DESTROY) return log.Around({msg}, handle);
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE) return log.Around({msg, WA_INACTIVE}, handle);
    return handle();
  }
  bool OnCloseRequest() override {
    ++unloads;
    return keepOnClose;
  }
  void OnActivate() override { ++activations; }
};

class FormLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.MoveTo({100, 100, 300, 300});  // 200 pixels, the layout's 3000 twips, a side
    form.Show();
    ::SetForegroundWindow(form.hWnd());
    Pump(30);
  }
  ProbeForm form;
  TextBox& box = form.Get<TextBox>(L"Box");
  PictureBox& pad = form.Get<PictureBox>(L"Pad");
  Image& knob = form.Get<Image>(L"Knob");
  Frame& group = form.Get<Frame>(L"Group");
};

TEST_F(FormLayerTest, ChangeIsRaisedInsideTheWriteAndOnlyForADifferentText) {
  std::vector<std::wstring> seen;
  box.Change = [&] { seen.push_back(box.Text()); };
  box.SetText(L"start");
  EXPECT_TRUE(seen.empty()) << "an equal text raised Change";
  box.SetText(L"next");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], L"next") << "Change ran before the text was written";
  box.SetText(L"next");
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(FormLayerTest, ANestedWriteOfTheSameTextEndsTheChain) {
  int runs = 0;
  box.Change = [&] {
    ++runs;
    box.SetText(L"settled");
  };
  box.SetText(L"other");
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(box.Text(), L"settled");
}

TEST_F(FormLayerTest, AWriteFromOutsideRaisesChangeOnce) {
  int runs = 0;
  box.Change = [&] { ++runs; };
  ::SendMessageW(box.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"from elsewhere"));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(box.Text(), L"from elsewhere");
  ::SendMessageW(box.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"from elsewhere"));
  EXPECT_EQ(runs, 1);
}

struct MouseEvent {
  char kind;
  MouseButton button;
  float x, y;
};

// What a control's pointer handler is told, in order.
struct PointerRecorder : PointerHandler {
  std::vector<MouseEvent> events;
  int moves = 0;
  void OnPress(MouseButton b, POINT at) override { Add('d', b, at); }
  void OnMove(MouseButton b, POINT at) override { Add('m', b, at); }
  void OnRelease(MouseButton b, POINT at) override { Add('u', b, at); }
  void Add(char kind, MouseButton b, POINT at) {
    ++moves;
    events.push_back({kind, b, static_cast<float>(at.x), static_cast<float>(at.y)});
  }
};

// Buttons and capture changes as the picture box's own window procedure gets them.
MessageLog g_padLog;
WNDPROC g_padProcedure = nullptr;
LRESULT CALLBACK LogPadMessages(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto handle = [&] { return ::CallWindowProcW(g_padProcedure, window, msg, wp, lp); };
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) return g_padLog.Around({msg, wp & MK_LBUTTON}, handle);
  if (msg == WM_CAPTURECHANGED) return g_padLog.Around({msg, 0, lp}, handle);
  return handle();
}

TEST_F(FormLayerTest, APressKeepsThePointerUntilReleaseEvenOutsideTheWindow) {
  g_padLog.Clear();
  g_padProcedure = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(pad.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LogPadMessages)));
  PointerRecorder knobRecorder, padRecorder;
  knob.SetPointerHandler(&knobRecorder);
  pad.SetPointerHandler(&padRecorder);
  std::vector<MouseEvent>& events = knobRecorder.events;
  RECT knobRect = knob.PixelRect();
  POINT origin{knobRect.left, knobRect.top};
  ::ClientToScreen(pad.Handle(), &origin);
  pointer::MoveTo(origin.x + 5, origin.y + 5);
  events.clear();
  pointer::Press();
  pointer::MoveTo(origin.x - 60, origin.y - 90);  // far outside the form
  pointer::Release();
  Pump(30);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().kind, 'd');
  EXPECT_EQ(events.front().button, MouseButton::Left);
  EXPECT_FLOAT_EQ(events.front().x, 5.0f) << "pixels relative to the image";
  EXPECT_EQ(events.back().kind, 'u');
  EXPECT_FLOAT_EQ(events.back().x, -60.0f);
  EXPECT_FLOAT_EQ(events.back().y, -90.0f);
  bool movedOutside = false;
  for (const MouseEvent& e : events) movedOutside |= e.kind == 'm' && e.x < 0 && e.button == MouseButton::Left;
  EXPECT_TRUE(movedOutside) << "moves outside the window did not reach the pressed control";
  EXPECT_EQ(::GetCapture(), nullptr) << "the pointer was kept after release";
  ::SetWindowLongPtrW(pad.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_padProcedure));
  // The release gives the pointer back while the button-up is handled.
  EXPECT_TRUE(g_padLog.Is({{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}, {WM_CAPTURECHANGED, 0, 0, 1}}));
}

TEST_F(FormLayerTest, UnloadWithCancelKeepsTheForm) {
  HWND window = form.hWnd();
  form.log.Clear();
  form.keepOnClose = true;
  ::SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.unloads, 1);
  EXPECT_TRUE(::IsWindow(form.hWnd()));
  form.RequestClose();
  EXPECT_EQ(form.unloads, 2);
  EXPECT_TRUE(::IsWindow(form.hWnd()));
  form.keepOnClose = false;
  form.RequestClose();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(form.hWnd(), nullptr) << "the form kept the handle of a window that is gone";
  // Deactivation comes only when the form was the active window at the end.
  EXPECT_TRUE(form.log.Is({{WM_CLOSE}, {WM_ACTIVATE, WA_INACTIVE, 0, 0, true}, {WM_DESTROY}}));
}

TEST_F(FormLayerTest, ActivateIsRaisedOnEachActivation) {
  int before = form.activations;
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
  ::SetForegroundWindow(other);
  Pump(30);
  ::SetForegroundWindow(form.hWnd());
  Pump(30);
  EXPECT_EQ(form.activations, before + 1);
  ::DestroyWindow(other);
}

TEST_F(FormLayerTest, WindowStateAndVisibility) {
  EXPECT_FALSE(form.Minimised());
  form.SetMinimised(true);
  EXPECT_TRUE(form.Minimised());
  form.Hide();
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(form.Minimised());
  form.SetMinimised(false);
  form.Show();
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(form.Minimised());
}

TEST_F(FormLayerTest, PointReadGivesTheColourInsideAndNoneOutside) {
  EXPECT_EQ(pad.ColourAt({0, 0}), 0x00102030u);
  EXPECT_EQ(pad.ColourAt({99, 99}), 0x00102030u);
  for (POINT outside : {POINT{-1, 0}, POINT{0, -1}, POINT{100, 0}, POINT{0, 100}})
    EXPECT_FALSE(pad.ColourAt(outside)) << outside.x << "," << outside.y;
  pad.SetBackColor(0x00FF0000);
  EXPECT_EQ(pad.ColourAt({50, 50}), 0x00FF0000u);
}

TEST_F(FormLayerTest, TheTableInTwipsLaysOutInPixelsAtNinetySixDotsPerInch) {
  const RECT place = form.Place();
  EXPECT_EQ(place.left, 100);
  EXPECT_EQ(place.right - place.left, 200);
  EXPECT_EQ(LayoutPixels(1660), 111);
  EXPECT_EQ(box.PixelRect().left, 10);
  EXPECT_EQ(knob.PixelRect().left, 20) << "a control inside a picture box, from the box's corner";
}

// Paints a window through WM_PRINTCLIENT into a memory bitmap first filled with a colour
// no window here paints, and reads one pixel back.
COLORREF PrintedPixelHere(HWND window, POINT at) {
  RECT client{};
  ::GetClientRect(window, &client);
  window_dc screen = GetWindowDc(nullptr);
  unique_mem_dc memory(::CreateCompatibleDC(screen.get()));
  unique_bitmap image(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  select_guard select(memory.get(), image.get());
  unique_brush unpainted(::CreateSolidBrush(0x00FF00FF));
  ::FillRect(memory.get(), &client, unpainted.get());
  ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
  return ::GetPixel(memory.get(), at.x, at.y);
}

// The same from a thread of its own, as a capture tool's would, while this one takes messages.
struct PrintJob {
  HWND window;
  POINT at;
  COLORREF pixel;
};
DWORD WINAPI PrintOnOwnThread(void* job) {
  auto& print = *static_cast<PrintJob*>(job);
  print.pixel = PrintedPixelHere(print.window, print.at);
  return 0;
}
COLORREF PrintedPixel(HWND window, POINT at) {
  PrintJob job{window, at, CLR_INVALID};
  unique_kernel_handle thread(::CreateThread(nullptr, 0, PrintOnOwnThread, &job, 0, nullptr));
  HANDLE done = thread.get();
  while (::MsgWaitForMultipleObjects(1, &done, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Pump();
  return job.pixel;
}

TEST_F(FormLayerTest, EveryContainerPaintsIntoACallersDeviceContext) {
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const struct {
    const char* what;
    HWND window;
    POINT at;
    COLORREF expected;
  } kCases[] = {{"form", form.hWnd(), {150, 150}, face},
                {"picture box", pad.Handle(), {90, 90}, 0x00102030},
                {"frame inside its edge", group.Handle(), {35, 35}, face}};
  for (const auto& c : kCases)
    EXPECT_EQ(PrintedPixel(c.window, c.at), c.expected) << c.what;
}

// A window object knows its handle from the first message of its creation to the last of its end,
// however the system ends it; a destruction message the system did not send ends nothing.
class HandleProbe : public BaseWindow {
 public:
  explicit HandleProbe(HWND parent = nullptr, bool refuse = false) : refuse_(refuse) {
    const RECT place{0, 0, 20, 20};
    EXPECT_EQ(CreateOwnWindow(L"HuevikHandleProbe", L"", parent ? WS_CHILD : WS_POPUP, 0, place, parent), !refuse);
  }
  std::function<void()> whileGoing;  // inside its WM_DESTROY
  std::vector<std::pair<UINT, HWND>> seen;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NCCREATE || msg == WM_CREATE || msg == WM_DESTROY) seen.emplace_back(msg, Window());
    if (msg == WM_DESTROY && whileGoing) whileGoing();
    return msg == WM_CREATE && refuse_ ? -1 : BaseWindow::OnMessage(msg, wp, lp);
  }

 private:
  bool refuse_;
};

TEST(BaseWindowTest, HoldsItsHandleFromCreationToDestructionWhicheverWayTheSystemEndsIt) {
  HandleProbe probe, parent, child(parent.Window()), other;
  probe.whileGoing = [&] {
    for (UINT msg : {WM_DESTROY, WM_NCDESTROY}) ::SendMessageW(other.Window(), msg, 0, 0);
  };
  for (auto [going, destroyed] : {std::pair{&probe, probe.Window()}, {&child, parent.Window()}}) {
    HWND window = going->Window();
    ::DestroyWindow(destroyed);
    EXPECT_EQ(going->Window(), nullptr) << "the handle outlived its window";
    const std::vector<std::pair<UINT, HWND>> expected = {{WM_NCCREATE, window}, {WM_CREATE, window},
                                                         {WM_DESTROY, window}};
    EXPECT_EQ(going->seen, expected);
  }
  EXPECT_TRUE(other.Window() && other.seen.size() == 2) << "a forged destruction while another went ended a window";
  HandleProbe refused(nullptr, true);
  EXPECT_EQ(refused.Window(), nullptr) << "a creation that failed after WM_NCCREATE left its handle";
}

// Fields that select their whole text each go on to the procedure they had before, as one that an
// input method or a skin library put in front of the first field's.
WNDPROC g_systemEdit = nullptr;
int g_earlierCalls = 0;
const UINT kProbeMessage = ::RegisterWindowMessageW(L"HuevikProbe.EarlierProcedure");

LRESULT CALLBACK EarlierProcedure(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  g_earlierCalls += msg == kProbeMessage;
  return ::CallWindowProcW(g_systemEdit, window, msg, wp, lp);
}

LRESULT CALLBACK SubclassFirstField(int code, WPARAM wp, LPARAM lp) {
  wchar_t name[8] = {};
  auto window = reinterpret_cast<HWND>(wp);
  if (code == HCBT_CREATEWND && !g_systemEdit && ::GetClassNameW(window, name, 8) && !::lstrcmpiW(name, L"Edit"))
    g_systemEdit = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EarlierProcedure)));
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

TEST(TextBoxTest, FieldsWithDifferentEarlierProceduresEachGoOnToTheirOwn) {
  unique_hook subclasser(::SetWindowsHookExW(WH_CBT, SubclassFirstField, nullptr, ::GetCurrentThreadId()));
  ProbeForm first;
  subclasser.reset();
  ProbeForm second;
  for (ProbeForm* form : {&first, &second}) ::SendMessageW(form->Get<TextBox>(L"Box").Handle(), kProbeMessage, 0, 0);
  EXPECT_TRUE(g_systemEdit && g_earlierCalls == 1) << "the first field's earlier procedure got " << g_earlierCalls;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKeyPath(L"HuevikProbe", L"S").c_str()); }
  void TearDown() override { SetUp(); }
};

TEST_F(SettingsStoreTest, ReadsBackTextAndGivesEmptyForAbsentOrForeignValues) {
  EXPECT_EQ(ReadSetting(L"HuevikProbe", L"S", L"Missing"), L"");
  WriteSetting(L"HuevikProbe", L"S", L"K", L"4500");
  EXPECT_EQ(ReadSetting(L"HuevikProbe", L"S", L"K"), L"4500");
  std::wstring path = SettingsKeyPath(L"HuevikProbe", L"S");
  DWORD number = 7;
  ::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"Dword", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(ReadSetting(L"HuevikProbe", L"S", L"Dword"), L"");
  std::wstring longText(10000, L'7');
  WriteSetting(L"HuevikProbe", L"S", L"Long", longText);
  EXPECT_EQ(ReadSetting(L"HuevikProbe", L"S", L"Long"), longText);
}

}  // namespace
