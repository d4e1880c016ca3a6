#include "colour/colour_forms.h"
#include "colour/colour_value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct WorkedExample {
  int red, green, blue;
  std::int32_t value;
  const wchar_t* vb;
  const wchar_t* decimal;
  const wchar_t* web;
};

const WorkedExample kWorkedExamples[] = {
    {255, 0, 0, 0x0000FF, L"&HFF&", L"255", L"#FF0000"},
    {0, 255, 0, 0x00FF00, L"&HFF00&", L"65280", L"#00FF00"},
    {0, 0, 255, 0xFF0000, L"&HFF0000&", L"16711680", L"#0000FF"},
    {1, 2, 3, 0x030201, L"&H30201&", L"197121", L"#010203"},
    {107, 173, 247, 0xF7AD6B, L"&HF7AD6B&", L"16231787", L"#6BADF7"},
    {0, 0, 0, 0x000000, L"&H0&", L"0", L"#000000"},
    {255, 255, 255, 0xFFFFFF, L"&HFFFFFF&", L"16777215", L"#FFFFFF"},
};

TEST(ColourValue, WorkedExamplesPackSplitAndFormatInAllThreeForms) {
  for (const WorkedExample& e : kWorkedExamples) {
    SCOPED_TRACE(testing::Message() << "rgb " << e.red << "," << e.green << "," << e.blue);
    EXPECT_EQ(e.value, PackComponents(e.red, e.green, e.blue));
    const RgbBytes bytes{static_cast<std::uint8_t>(e.red), static_cast<std::uint8_t>(e.green),
                         static_cast<std::uint8_t>(e.blue)};
    EXPECT_EQ(e.value, PackRgb(bytes));
    const Components split = SplitColour(e.value);
    EXPECT_EQ(e.red, split.red);
    EXPECT_EQ(e.green, split.green);
    EXPECT_EQ(e.blue, split.blue);
    EXPECT_EQ(e.vb, FormatColour(e.value, TextForm::Vb));
    EXPECT_EQ(e.decimal, FormatColour(e.value, TextForm::Decimal));
    EXPECT_EQ(e.web, FormatColour(e.value, TextForm::Web));
  }
}

TEST(ColourValue, SplitOfEdgeValues) {
  struct Case {
    std::int32_t value;
    int red, green, blue;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {255, 255, 0, 0},
      {256, 0, 1, 0},
      {65535, 255, 255, 0},
      {65536, 0, 0, 1},
      {0x030201, 1, 2, 3},
      {0xF7AD6B, 107, 173, 247},
      {0xFFFFFF, 255, 255, 255},
      // Out of the colour range: the high byte is not masked, and -1 (no colour) truncates.
      {0x1000000, 0, 0, 256},
      {-1, -1, 0, 0},
  };
  for (const Case& c : cases) {
    const Components split = SplitColour(c.value);
    EXPECT_EQ(c.red, split.red) << "value " << c.value;
    EXPECT_EQ(c.green, split.green) << "value " << c.value;
    EXPECT_EQ(c.blue, split.blue) << "value " << c.value;
  }
}

TEST(ColourValue, TextsOutsideTheColourRangeFitTheBuffer) {
  // The longest texts WriteColourText can be asked for.
  EXPECT_EQ(L"&HFFFFFFFF&", FormatColour(-1, TextForm::Vb));
  EXPECT_EQ(L"#000000", FormatColour(INT32_MIN, TextForm::Web)) << "the high byte is no colour";
  EXPECT_EQ(L"-2147483648", FormatColour(INT32_MIN, TextForm::Decimal));
  EXPECT_EQ(L"2147483647", FormatColour(INT32_MAX, TextForm::Decimal));
}

TEST(ColourValue, DecimalText) {
  const std::pair<int, const wchar_t*> cases[] = {
      {0, L"0"}, {7, L"7"}, {255, L"255"}, {-120, L"-120"}, {INT_MAX, L"2147483647"}, {INT_MIN, L"-2147483648"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(text, DecimalText(value)) << value;
}

// Reads a text form back, independently of the writer. Returns -1 for a text that is not the
// form's exact shape (prefix, suffix, upper-case digits, no leading zeros but in the web form's
// six digits, which list red first).
std::int64_t ParseColourText(const wchar_t* text, std::size_t length, TextForm form) {
  std::size_t first = 0;
  std::size_t end = length;
  if (form == TextForm::Vb) {
    if (length < 4 || text[0] != L'&' || text[1] != L'H' || text[length - 1] != L'&') return -1;
    first = 2;
    end = length - 1;
  } else if (form == TextForm::Web) {
    if (length != 7 || text[0] != L'#') return -1;
    first = 1;
  }
  if (first == end || (form != TextForm::Web && end - first > 1 && text[first] == L'0')) return -1;
  const int base = form == TextForm::Decimal ? 10 : 16;
  std::int64_t value = 0;
  for (std::size_t i = first; i < end; ++i) {
    const wchar_t c = text[i];
    int digit = -1;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    if (digit < 0) return -1;
    value = value * base + digit;
  }
  if (form == TextForm::Web) return (value >> 16) | (value & 0xFF00) | ((value & 0xFF) << 16);
  return value;
}

TEST(ColourValue, EveryColourSplitsPacksAndReadsBackInEachForm) {
  const TextForm forms[] = {TextForm::Vb, TextForm::Decimal, TextForm::Web};
  std::int64_t failures = 0;
  std::int32_t firstFailure = -1;
  wchar_t text[kColourTextCapacity];
  for (std::int32_t v = 0; v <= 0xFFFFFF; ++v) {
    const Components c = SplitColour(v);
    bool ok = c.red >= 0 && c.red <= 255 && c.green >= 0 && c.green <= 255 && c.blue >= 0 && c.blue <= 255 &&
              PackComponents(c.red, c.green, c.blue) == v;
    for (TextForm form : forms) ok = ok && ParseColourText(text, WriteColourText(v, form, text), form) == v;
    if (!ok && failures++ == 0) firstFailure = v;
  }
  EXPECT_EQ(0, failures) << "first failing colour " << firstFailure;
}

TEST(ColourValue, AllocatingFormatterMatchesTheBufferWriter) {
  wchar_t text[kColourTextCapacity];
  for (std::int32_t v = 0; v <= 0xFFFFFF; v += 4099) {
    for (TextForm form : {TextForm::Vb, TextForm::Decimal, TextForm::Web}) {
      const std::size_t length = WriteColourText(v, form, text);
      EXPECT_EQ(std::wstring(text, length), FormatColour(v, form)) << v;
      EXPECT_EQ(L'\0', text[length]) << v;
    }
  }
}

TEST(ColourValue, ComponentTextsReadBackAsTheirNumbers) {
  for (int n = 0; n <= 255; ++n) {
    EXPECT_EQ(n, FieldToByte(DecimalText(n))) << n;
    EXPECT_EQ(n, FieldToInteger(DecimalText(n))) << n;
  }
}

TEST(ColourValue, FieldTextFromOutsideReadsSafely) {
  const std::wstring manyNines(10000, L'9');
  const std::wstring zerosThenFive = std::wstring(10000, L'0') + L"5";
  const std::pair<std::wstring, int> cases[] = {
      {L"", 0},
      {L"   ", 0},
      {L"abc", 0},
      {L"-", 0},
      {L"+", 0},
      {L"12abc", 12},
      {L" 42 ", 42},
      {L"\t7\r\n", 7},
      {L"+7", 7},
      {L"-5", 0},
      {L"-0", 0},
      {L"255", 255},
      {L"256", 255},
      {L"300", 255},
      {L"007", 7},
      {L"0255", 255},
      {L"12.7", 12},
      {L"1e3", 1},
      {L"0x1F", 0},
      {L"4 2", 4},
      {L"\uFF11\uFF12", 0},  // full-width digits are not digits here
      {L"99999999999999999999", 255},
      {L"-99999999999999999999", 0},
      {manyNines, 255},
      {L"-" + manyNines, 0},
      {zerosThenFive, 5},
  };
  for (const auto& [text, expected] : cases) {
    const std::wstring shown = text.size() > 24 ? text.substr(0, 24) + L"..." : text;
    EXPECT_EQ(expected, FieldToByte(text)) << "text " << testing::PrintToString(shown);
    EXPECT_EQ(expected, FieldToInteger(text)) << "text " << testing::PrintToString(shown);
  }
}

// Every form of the one table, for both example colours, the ends of the range and a grey.
TEST(ColourForms, EachFormWritesItsText) {
  const struct {
    COLORREF colour;
    std::vector<std::wstring> texts;
  } kRows[] = {
      {RGB(107, 173, 247), {L"&HF7AD6B&", L"16231787", L"#6BADF7", L"rgb(107, 173, 247)", L"hsl(212, 90%, 69%)",
                            L"hsv(212, 57%, 97%)", L"0x6BADF7", L"RGB(107, 173, 247)", L"Color.FromArgb(107, 173, 247)",
                            L"$00F7AD6B"}},
      {RGB(1, 2, 3), {L"&H30201&", L"197121", L"#010203", L"rgb(1, 2, 3)", L"hsl(210, 50%, 1%)", L"hsv(210, 67%, 1%)",
                      L"0x010203", L"RGB(1, 2, 3)", L"Color.FromArgb(1, 2, 3)", L"$00030201"}},
      {RGB(0, 0, 0), {L"&H0&", L"0", L"#000000", L"rgb(0, 0, 0)", L"hsl(0, 0%, 0%)", L"hsv(0, 0%, 0%)", L"0x000000",
                      L"RGB(0, 0, 0)", L"Color.FromArgb(0, 0, 0)", L"$00000000"}},
      {RGB(255, 255, 255), {L"&HFFFFFF&", L"16777215", L"#FFFFFF", L"rgb(255, 255, 255)", L"hsl(0, 0%, 100%)",
                            L"hsv(0, 0%, 100%)", L"0xFFFFFF", L"RGB(255, 255, 255)",
                            L"Color.FromArgb(255, 255, 255)", L"$00FFFFFF"}},
      {RGB(255, 0, 1), {L"&H100FF&", L"65791", L"#FF0001", L"rgb(255, 0, 1)", L"hsl(0, 100%, 50%)",
                        L"hsv(0, 100%, 100%)", L"0xFF0001", L"RGB(255, 0, 1)", L"Color.FromArgb(255, 0, 1)",
                        L"$000100FF"}},  // a hue of 359.76 rounds to 0, not 360
  };
  for (const auto& row : kRows) {
    std::vector<std::wstring> texts;
    for (const ColourForm& form : ColourForms()) texts.push_back(form.text(row.colour));
    EXPECT_EQ(texts, row.texts);
  }
  for (int v = 0; v < 256; ++v)
    EXPECT_EQ(ColourForms()[4].text(RGB(v, v, v)).substr(0, 10), L"hsl(0, 0%,") << v;
}

// The contrast against white, cut to two decimals, with the level it reaches.
TEST(ColourForms, ContrastReadsTheRatioCutOffAndItsLevel) {
  const std::pair<COLORREF, const wchar_t*> kPairs[] = {
      {RGB(0, 0, 0), L"21.00:1 AAA"},      {RGB(0x59, 0x59, 0x59), L"7.00:1 AAA"},
      {RGB(0x5A, 0x5A, 0x5A), L"6.89:1 AA"}, {RGB(0x76, 0x76, 0x76), L"4.54:1 AA"},
      {RGB(0x77, 0x77, 0x77), L"4.47:1 大字 AA"}, {RGB(0x94, 0x94, 0x94), L"3.03:1 大字 AA"},
      {RGB(0x95, 0x95, 0x95), L"2.99:1"},  {RGB(255, 255, 255), L"1.00:1"},
      {RGB(0, 133, 128), L"4.49:1 大字 AA"}};  // 4.49995, short of AA: no rounding up
  for (const auto& [colour, text] : kPairs) EXPECT_EQ(ContrastText(colour, RGB(255, 255, 255)), text);
}

}  // namespace
