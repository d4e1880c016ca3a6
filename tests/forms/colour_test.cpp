// The current colour on the real main window: component fields, swatch, value
// field and its change notifications, and the system colour dialog behind ColourDialogButton.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they rely on.
#include <colordlg.h>
#include <dlgs.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"
#include "win32/this_program.h"

namespace {

using ColourFormTest = MainWindowTest;

// Two corners of the swatch, clear of the pen picture that rests in its middle.
std::vector<COLORREF> SwatchPixels(const MainWindow& form) {
  HWND swatch = form.Swatch.Handle();
  ::UpdateWindow(swatch);
  RECT client{};
  ::GetClientRect(swatch, &client);
  return {WindowPixel(swatch, 3, 3), WindowPixel(swatch, client.right - 4, client.bottom - 4)};
}

// Everything the user can see of the current colour, read from the windows themselves.
struct Shown {
  std::wstring red, green, blue, value;
  std::vector<COLORREF> swatch;
  bool operator==(const Shown&) const = default;
};

Shown ShownColour(const MainWindow& form) {
  return {ReadWindowText(form.RedField.Handle()), ReadWindowText(form.GreenField.Handle()), ReadWindowText(form.BlueField.Handle()),
          ReadWindowText(form.ValueField.Handle()), SwatchPixels(form)};
}

std::ostream& operator<<(std::ostream& out, const Shown& s) {
  out << "fields " << testing::PrintToString(s.red) << "," << testing::PrintToString(s.green) << ","
      << testing::PrintToString(s.blue) << " value " << testing::PrintToString(s.value) << " swatch";
  for (COLORREF c : s.swatch) out << " 0x" << std::hex << c << std::dec;
  return out;
}

enum class Choice { Vb, Decimal, Web, None };

const char* NameOf(Choice choice) {
  switch (choice) {
    case Choice::Vb: return "VbFormOption";
    case Choice::Decimal: return "DecimalFormOption";
    case Choice::Web: return "WebFormOption";
    case Choice::None: return "no option";
  }
  return "?";
}

// A real click on the option button; "none" can only be set by the program.
void Choose(MainWindow& form, Choice choice) {
  OptionButton* button = choice == Choice::Vb ? &form.VbFormOption : choice == Choice::Decimal ? &form.DecimalFormOption
                       : choice == Choice::Web ? &form.WebFormOption : nullptr;
  if (!button) {
    for (OptionButton* each : {&form.VbFormOption, &form.DecimalFormOption, &form.WebFormOption}) each->SetValue(false);
    return;
  }
  POINT centre = ScreenCentreOf(*button);
  pointer::ClickAt(centre.x, centre.y);
  ASSERT_TRUE(PumpUntil([&] { return button->Value(); })) << NameOf(choice) << " not chosen by the click";
}

// Counts the value field's change notifications; a chain deeper than a few runs is
// cut and reported instead of overflowing the stack.
class ChangeLog {
 public:
  explicit ChangeLog(TextBox& box) : box_(box), original_(box.Change) {
    box_.Change = [this] {
      ++count;
      if (depth_ >= 4) {
        runaway = true;
        return;
      }
      ++depth_;
      original_();
      --depth_;
    };
  }
  ~ChangeLog() { box_.Change = original_; }
  int count = 0;
  bool runaway = false;

 private:
  TextBox& box_;
  std::function<void()> original_;
  int depth_ = 0;
};

TEST_F(ColourFormTest, StartupShowsTheDesignColourAndLeavesTheValueFieldAlone) {
  Pump(100);
  const Shown shown = ShownColour(form());
  EXPECT_EQ(shown.red, L"107");
  EXPECT_EQ(shown.green, L"173");
  EXPECT_EQ(shown.blue, L"247");
  EXPECT_EQ(shown.value, L"\x1EHF7AD6B\x1F") << "nothing refreshes the value field at startup";
  for (COLORREF pixel : shown.swatch) EXPECT_EQ(pixel, 0xF7AD6Bu);
  EXPECT_TRUE(form().VbFormOption.Value());
}

TEST_F(ColourFormTest, NegativeColourChangesNothing) {
  form().Fields().Show(0x030201);
  for (std::int32_t colour : {-1, -256, INT_MIN}) {
    const Shown before = ShownColour(form());
    const COLORREF backColour = form().Swatch.BackColor();
    ChangeLog log(form().ValueField);
    form().Fields().Show(colour);
    EXPECT_EQ(ShownColour(form()), before) << "ShowColour(" << colour << ")";
    EXPECT_EQ(form().Swatch.BackColor(), backColour) << "ShowColour(" << colour << ")";
    EXPECT_EQ(log.count, 0) << "ShowColour(" << colour << ")";
  }
}

TEST_F(ColourFormTest, ZhuanShowsTheColourInEachTextForm) {
  struct Case {
    std::int32_t colour;
    const wchar_t *red, *green, *blue;
    const wchar_t *vb, *decimal, *web;
  };
  const Case cases[] = {
      {0, L"0", L"0", L"0", L"&H0&", L"0", L"#000000"},
      {255, L"255", L"0", L"0", L"&HFF&", L"255", L"#FF0000"},
      {0x00FF00, L"0", L"255", L"0", L"&HFF00&", L"65280", L"#00FF00"},
      {0xFF0000, L"0", L"0", L"255", L"&HFF0000&", L"16711680", L"#0000FF"},
      {0xF7AD6B, L"107", L"173", L"247", L"&HF7AD6B&", L"16231787", L"#6BADF7"},
      {16777215, L"255", L"255", L"255", L"&HFFFFFF&", L"16777215", L"#FFFFFF"},
      {0x030201, L"1", L"2", L"3", L"&H30201&", L"197121", L"#010203"},
  };
  for (Choice choice : {Choice::Vb, Choice::Decimal, Choice::Web, Choice::None}) {
    Choose(form(), choice);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << NameOf(choice) << ", ShowColour(" << c.colour << ")");
      form().Fields().Show(c.colour);
      const Shown shown = ShownColour(form());
      EXPECT_EQ(shown.red, c.red);
      EXPECT_EQ(shown.green, c.green);
      EXPECT_EQ(shown.blue, c.blue);
      const wchar_t* expected = choice == Choice::Vb ? c.vb : choice == Choice::Decimal ? c.decimal : c.web;
      EXPECT_EQ(shown.value, expected);
      EXPECT_EQ(form().ValueField.Text(), expected);
      for (COLORREF pixel : shown.swatch) EXPECT_EQ(pixel, static_cast<COLORREF>(c.colour)) << std::hex << pixel;
    }
  }
}

TEST_F(ColourFormTest, PureBlueIsPaintedThoughItIsTheWindowsTransparencyKey) {
  form().Fields().Show(0xFF0000);
  // The window's own surface holds the colour; only the screen composition lets
  // the desktop show through it.
  for (COLORREF pixel : SwatchPixels(form())) EXPECT_EQ(pixel, 0xFF0000u) << std::hex << pixel;
  EXPECT_EQ(form().Swatch.BackColor(), 0xFF0000u);
}

TEST_F(ColourFormTest, RefreshRunsTwiceForANewTextAndOnceForTheSameText) {
  form().Fields().Show(255);
  ASSERT_EQ(WindowText(form().ValueField.Handle()), L"&HFF&");
  {
    ChangeLog log(form().ValueField);
    form().Fields().RefreshValueField();  // same fields, same form: the same text
    EXPECT_EQ(log.count, 0) << "an unchanged text must not notify";
  }
  {
    ChangeLog log(form().ValueField);
    form().Fields().Show(0xFF0000);  // the direct run writes a new text; the nested run writes it again
    EXPECT_EQ(log.count, 1);
    EXPECT_FALSE(log.runaway);
    EXPECT_EQ(WindowText(form().ValueField.Handle()), L"&HFF0000&");
  }
  {
    ChangeLog log(form().ValueField);
    form().Fields().Show(0xFF0000);  // the same colour again
    EXPECT_EQ(log.count, 0);
  }
}

TEST_F(ColourFormTest, NewTextFormShowsFromTheNextColourOn) {
  form().Fields().Show(255);
  ASSERT_EQ(WindowText(form().ValueField.Handle()), L"&HFF&");
  ChangeLog log(form().ValueField);
  Choose(form(), Choice::Decimal);
  Pump(50);
  EXPECT_EQ(WindowText(form().ValueField.Handle()), L"&HFF&");
  EXPECT_EQ(log.count, 0);
  form().Fields().Show(255);  // the same colour shown again is the next colour
  EXPECT_EQ(WindowText(form().ValueField.Handle()), L"255");
}

// Another program can put any text into the read-only fields; reading them back
// must stay within a colour, and the next colour must bring only valid texts.
TEST_F(ColourFormTest, ForeignFieldTextIsReadSafelyAndReplacedByTheNextColour) {
  struct Garbage {
    std::wstring text;
    int reads;  // the component the value field then shows
  };
  const Garbage garbage[] = {
      {L"abc", 0}, {L"-5", 0}, {L"999", 255}, {L"", 0}, {std::wstring(10000, L'9'), 255}, {L" 42x", 42},
  };
  Choose(form(), Choice::Decimal);
  const std::int32_t start = 0x030201, next = 0x0A0B0C;
  for (int field = 0; field < 3; ++field) {
    TextBox& box = field == 0 ? form().RedField : field == 1 ? form().GreenField : form().BlueField;
    for (const Garbage& g : garbage) {
      SCOPED_TRACE(testing::Message() << "Text" << field + 1 << " = " << g.text.size() << " chars "
                                      << testing::PrintToString(g.text.substr(0, 8)));
      form().Fields().Show(start);
      ::SendMessageW(box.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g.text.c_str()));
      ASSERT_EQ(WindowText(box.Handle()), g.text);
      form().Fields().RefreshValueField();
      const std::int32_t expected = (start & ~(0xFF << (8 * field))) | (g.reads << (8 * field));
      EXPECT_EQ(WindowText(form().ValueField.Handle()), std::to_wstring(expected));
      form().Fields().Show(next);
      const Shown shown = ShownColour(form());
      EXPECT_EQ(shown, (Shown{L"12", L"11", L"10", std::to_wstring(next), {0x0A0B0C, 0x0A0B0C}}));
    }
  }
}

TEST_F(ColourFormTest, ForeignValueFieldTextIsRewrittenAtOnce) {
  form().Fields().Show(0x030201);
  for (const wchar_t* text : {L"junk", L"", L"&HFFFFFFFF&"}) {
    ::SendMessageW(form().ValueField.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(WindowText(form().ValueField.Handle()), L"&H30201&") << "after " << testing::PrintToString(text);
  }
}

// ---- The colour dialog, driven by a thread timer: it fires inside the dialog's
// own modal loop, on the thread that waits in ChooseWithColourDialog.

struct DialogScript {
  HWND owner = nullptr;
  std::function<void(HWND dialog)> act;  // leaves the dialog closed
  HWND dialog = nullptr;
  DWORD actedAt = 0;
  DWORD startedAt = 0;
  bool done = false;
  bool stuck = false;
};
DialogScript* g_script = nullptr;

struct DialogSearch {
  HWND owner, found;
};

BOOL CALLBACK TakeDialogOwnedBy(HWND window, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  if (::GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindDialogOwnedBy(HWND owner) {
  DialogSearch search{owner, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), TakeDialogOwnedBy, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK StepDialogScript(HWND, UINT, UINT_PTR timer, DWORD) {
  DialogScript& s = *g_script;
  if (!s.dialog) {
    s.dialog = FindDialogOwnedBy(s.owner);
    if (s.dialog) {
      s.actedAt = ::GetTickCount();
      s.act(s.dialog);
    } else if (::GetTickCount() - s.startedAt > 5000) {
      s.done = true;
      ::KillTimer(nullptr, timer);
    }
    return;
  }
  if (!::IsWindow(s.dialog)) {
    s.done = true;
    ::KillTimer(nullptr, timer);
  } else if (::GetTickCount() - s.actedAt > 3000) {
    s.stuck = true;  // the script failed to close it: cancel, so the test ends
    ::PostMessageW(s.dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

// Clicks ColourDialogButton for real and lets the script work the dialog it opens.
void ClickPaletteButton(MainWindow& form, std::function<void(HWND)> act) {
  DialogScript script;
  script.owner = form.hWnd();
  script.act = std::move(act);
  script.startedAt = ::GetTickCount();
  g_script = &script;
  ::SetTimer(nullptr, 0, 20, StepDialogScript);
  POINT centre = ScreenCentreOf(form.ColourDialogButton);
  pointer::ClickAt(centre.x, centre.y);
  PumpUntil([&] { return script.done; }, 10000);
  g_script = nullptr;
  ASSERT_NE(script.dialog, nullptr) << "no colour dialog owned by the main window appeared";
  ASSERT_FALSE(script.stuck) << "the dialog did not close when told to";
  ASSERT_TRUE(script.done);
}

struct Rgb {
  UINT red, green, blue;
  bool operator==(const Rgb&) const = default;
};

Rgb DialogColour(HWND dialog) {
  return {::GetDlgItemInt(dialog, COLOR_RED, nullptr, FALSE), ::GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE),
          ::GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE)};
}

void SetDialogColour(HWND dialog, Rgb colour) {
  ::SetDlgItemInt(dialog, COLOR_RED, colour.red, FALSE);
  ::SetDlgItemInt(dialog, COLOR_GREEN, colour.green, FALSE);
  ::SetDlgItemInt(dialog, COLOR_BLUE, colour.blue, FALSE);
}

void Press(HWND dialog, int button) { ::SendMessageW(::GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

// The first of the sixteen custom colour cells, as the dialog painted it.
COLORREF FirstCustomColour(HWND dialog) {
  ::UpdateWindow(dialog);
  HWND cells = ::GetDlgItem(dialog, COLOR_CUSTOM1);
  RECT r{};
  ::GetClientRect(cells, &r);
  return WindowPixel(cells, r.right / 8 / 2 - 1, r.bottom / 2 / 2 - 1);
}

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << c.red << "," << c.green << "," << c.blue;
}

TEST_F(ColourFormTest, CancelledDialogChangesNothing) {
  form().Fields().Show(0x030201);
  Choose(form(), Choice::Web);
  const Shown before = ShownColour(form());
  ChangeLog log(form().ValueField);
  Rgb start{};
  ClickPaletteButton(form(), [&](HWND dialog) {
    start = DialogColour(dialog);
    SetDialogColour(dialog, {10, 20, 30});
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(start, (Rgb{0, 0, 0}));
  EXPECT_EQ(ShownColour(form()), before);
  EXPECT_EQ(log.count, 0);
}

TEST_F(ColourFormTest, ConfirmedColourBecomesTheCurrentColour) {
  struct Case {
    Choice choice;
    Rgb chosen;
    const wchar_t* value;
  };
  const Case cases[] = {
      {Choice::Vb, {0, 0, 255}, L"&HFF0000&"},
      {Choice::Web, {0, 0, 0}, L"#000000"},
      {Choice::Web, {1, 2, 3}, L"#010203"},
      {Choice::Decimal, {1, 2, 3}, L"197121"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << NameOf(c.choice) << ", chosen " << c.chosen);
    form().Fields().Show(0xF7AD6B);
    Choose(form(), c.choice);
    ChangeLog log(form().ValueField);
    ClickPaletteButton(form(), [&](HWND dialog) {
      SetDialogColour(dialog, c.chosen);
      Press(dialog, IDOK);
    });
    const Shown shown = ShownColour(form());
    EXPECT_EQ(shown.red, std::to_wstring(c.chosen.red));
    EXPECT_EQ(shown.green, std::to_wstring(c.chosen.green));
    EXPECT_EQ(shown.blue, std::to_wstring(c.chosen.blue));
    EXPECT_EQ(shown.value, c.value);
    EXPECT_EQ(log.count, 1) << "the handler's write notifies once; the nested run writes the same text";
    EXPECT_FALSE(log.runaway);
    const COLORREF colour = RGB(c.chosen.red, c.chosen.green, c.chosen.blue);
    for (COLORREF pixel : shown.swatch) EXPECT_EQ(pixel, colour) << std::hex << pixel;
  }
}

TEST_F(ColourFormTest, DialogStartsBlackCollapsedAndForgetsCustomColours) {
  form().Fields().Show(0x123456);
  Rgb firstStart{1, 1, 1}, secondStart{1, 1, 1};
  COLORREF customBefore = 1, customAdded = 0, customAfter = 1;
  bool expandedAtStart = true, expandedAgain = true, helpShown = true;
  ClickPaletteButton(form(), [&](HWND dialog) {
    firstStart = DialogColour(dialog);
    expandedAtStart = ::IsWindowVisible(::GetDlgItem(dialog, COLOR_RAINBOW));
    helpShown = ::IsWindowVisible(::GetDlgItem(dialog, pshHelp));
    customBefore = FirstCustomColour(dialog);
    Press(dialog, COLOR_MIX);  // open the custom colour section
    SetDialogColour(dialog, {0, 128, 255});
    Press(dialog, COLOR_ADD);
    customAdded = FirstCustomColour(dialog);
    Press(dialog, IDOK);
  });
  EXPECT_EQ(WindowText(form().ValueField.Handle()), L"&HFF8000&");
  ClickPaletteButton(form(), [&](HWND dialog) {
    secondStart = DialogColour(dialog);
    expandedAgain = ::IsWindowVisible(::GetDlgItem(dialog, COLOR_RAINBOW));
    customAfter = FirstCustomColour(dialog);
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(firstStart, (Rgb{0, 0, 0})) << "the current colour was 0x123456";
  EXPECT_EQ(secondStart, (Rgb{0, 0, 0})) << "the current colour was 0xFF8000";
  EXPECT_FALSE(expandedAtStart);
  EXPECT_FALSE(expandedAgain);
  EXPECT_FALSE(helpShown);
  EXPECT_EQ(customBefore, 0u) << std::hex << customBefore;
  EXPECT_EQ(customAdded, RGB(0, 128, 255)) << std::hex << customAdded << " (the cell reading itself works)";
  EXPECT_EQ(customAfter, 0u) << std::hex << customAfter;
}

}  // namespace
