#include "settings/position_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

TEST(PositionText, SingleToText) {
  struct Case {
    float value;
    wchar_t separator;
    const wchar_t* text;
  };
  const Case cases[] = {
      {7905.0f, L'.', L"7905"},
      {-120.0f, L'.', L"-120"},
      {0.0f, L'.', L"0"},
      {-0.0f, L'.', L"0"},
      {100.0f, L',', L"100"},
      {1000000.0f, L'.', L"1000000"},
      {9999999.0f, L'.', L"9999999"},
      {12.5f, L'.', L"12.5"},
      {12.5f, L',', L"12,5"},
      {0.25f, L',', L"0,25"},
      {-0.25f, L'.', L"-0.25"},
      {0.1f, L'.', L"0.1"},
      {1234.567f, L'.', L"1234.567"},
      {12345.125f, L'.', L"12345.12"},  // exact ties round to the even digit
      {12345.375f, L',', L"12345,38"},
      {1.0f / 3.0f, L'.', L"0.3333333"},
      {2.0f / 3.0f, L',', L"0,6666667"},
      {0.0001f, L'.', L"0.0001"},
      {0.00012345678f, L'.', L"0.0001234568"},
      {12345678.0f, L'.', L"1.234568E+07"},
      {-12345678.0f, L',', L"-1,234568E+07"},
      {10000000.0f, L'.', L"1E+07"},
      {1e20f, L'.', L"1E+20"},
      {FLT_MAX, L'.', L"3.402823E+38"},
      {0.00001f, L'.', L"1E-05"},
      {1.5e-5f, L',', L"1,5E-05"},
      {1e-30f, L'.', L"1E-30"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.text, SingleToText(c.value, c.separator)) << "value " << c.value << " separator " << char(c.separator);
}

TEST(PositionText, TextToNumberReadsStrictly) {
  const std::optional<double> none;
  struct Case {
    const wchar_t* text;
    wchar_t separator;
    std::optional<double> value;
  };
  const Case cases[] = {
      {L"7905", L'.', 7905.0},    {L" 7905\t", L'.', 7905.0},
      {L"-120", L'.', -120.0},    {L"+5", L'.', 5.0},
      {L"12.5", L'.', 12.5},      {L"12,5", L',', 12.5},
      {L"4500.5", L',', none},    {L"4500,5", L'.', none},
      {L"1,000", L'.', none},     {L"1.234568E+07", L'.', 12345680.0},
      {L"1,5e-05", L',', 1.5e-5}, {L"1E5", L'.', 1e5},
      {L".5", L'.', 0.5},         {L"5.", L'.', 5.0},
      {L"-0", L'.', 0.0},         {L"0E999999999999", L'.', 0.0},
      {L"1e-400", L'.', 0.0},     {L"1e400", L'.', none},
      {L"-1e400", L'.', none},    {L"", L'.', none},
      {L"   ", L'.', none},       {L"abc", L'.', none},
      {L"-", L'.', none},         {L".", L'.', none},
      {L"1e", L'.', none},        {L"1e+", L'.', none},
      {L"e5", L'.', none},        {L"1.2.3", L'.', none},
      {L"1 2", L'.', none},       {L"12abc", L'.', none},
      {L"0x10", L'.', none},      {L"--1", L'.', none},
      {L"+-1", L'.', none},       {L"inf", L'.', none},
      {L"NaN", L'.', none},       {L"Infinity", L'.', none},
      {L"\uFF11", L'.', none},
  };
  for (const Case& c : cases) {
    const std::optional<double> read = TextToNumber(c.text, c.separator);
    EXPECT_EQ(c.value, read) << "text " << testing::PrintToString(std::wstring(c.text)) << " separator "
                             << char(c.separator);
  }
}

TEST(PositionText, TextToSingleFailsBeyondTheSingleRange) {
  EXPECT_FALSE(TextToSingle(L"1e40", L'.').has_value());
  EXPECT_FALSE(TextToSingle(L"-1e40", L'.').has_value());
  EXPECT_FALSE(TextToSingle(L"4500.5", L',').has_value());
  EXPECT_EQ(std::optional<float>(3.4e38f), TextToSingle(L"3.4E+38", L'.'));
  EXPECT_EQ(std::optional<float>(7905.0f), TextToSingle(L"7905", L'.'));
}

TEST(PositionText, TenThousandCharacterTexts) {
  const std::size_t length = 10000;
  struct Case {
    std::wstring text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {L"1" + std::wstring(length - 1, L'0'), std::nullopt},  // beyond double
      {L"0." + std::wstring(length - 3, L'0') + L"1", 0.0},   // below double
      {L"1." + std::wstring(length - 2, L'0'), 1.0},
      {std::wstring(length - 1, L'0') + L"7", 7.0},
      {std::wstring(length, L'a'), std::nullopt},
      {std::wstring(length - 1, L'5') + L"x", std::nullopt},
      {L"1e" + std::wstring(length - 2, L'9'), std::nullopt},
      {L"1e-" + std::wstring(length - 3, L'9'), 0.0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.value, TextToNumber(c.text, L'.')) << testing::PrintToString(c.text.substr(0, 12));
}

TEST(PositionText, WholeTwipsRoundTrip) {
  int failures = 0;
  float firstFailure = 0;
  for (const wchar_t separator : {L'.', L','}) {
    for (std::int32_t twips = -9999999; twips <= 9999999; twips += twips > -20000 && twips < 20000 ? 1 : 997) {
      const float value = static_cast<float>(twips);
      const std::wstring text = SingleToText(value, separator);
      const bool ok = TextToSingle(text, separator) == value && text == std::to_wstring(twips);
      if (!ok && failures++ == 0) firstFailure = value;
    }
  }
  EXPECT_EQ(0, failures) << "first failure at " << firstFailure;
}

TEST(PositionText, SevenDigitValuesRoundTrip) {
  int failures = 0;
  std::string firstFailure;
  for (std::int32_t mantissa = 1000000; mantissa <= 9999999; mantissa += 7919) {
    for (int exponent = -14; exponent <= 12; ++exponent) {
      const std::string decimal = std::to_string(mantissa) + "e" + std::to_string(exponent);
      float value = 0;
      std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
      for (const wchar_t separator : {L'.', L','}) {
        const bool ok = TextToSingle(SingleToText(value, separator), separator) == value &&
                        TextToSingle(SingleToText(-value, separator), separator) == -value;
        if (!ok && failures++ == 0) firstFailure = decimal;
      }
    }
  }
  EXPECT_EQ(0, failures) << "first failure at " << firstFailure;
}

TEST(PositionText, AnySingleReadsBackWithinSevenDigits) {
  // Walks float bit patterns across the whole finite range with a fixed generator.
  std::uint32_t state = 12345;
  int failures = 0;
  float firstFailure = 0;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1664525u + 1013904223u;
    float value;
    std::memcpy(&value, &state, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::optional<float> read = TextToSingle(SingleToText(value, L'.'), L'.');
    const bool ok = read && std::fabs(*read - value) <= std::fabs(value) * 6e-7f + FLT_TRUE_MIN;
    if (!ok && failures++ == 0) firstFailure = value;
  }
  EXPECT_EQ(0, failures) << "first failure at " << firstFailure;
}

}  // namespace
