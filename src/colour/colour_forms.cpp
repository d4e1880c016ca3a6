#include "colour/colour_forms.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "colour/colour_value.h"

namespace {

int Red(COLORREF c) { return GetRValue(c); }
int Green(COLORREF c) { return GetGValue(c); }
int Blue(COLORREF c) { return GetBValue(c); }
std::int32_t Value(COLORREF c) { return static_cast<std::int32_t>(c & 0xFFFFFF); }

// num / den rounded half up, for den > 0 and any num.
int RoundHalfUp(int num, int den) {
  const int twice = 2 * num + den, step = 2 * den;
  return twice >= 0 ? twice / step : -((-twice + step - 1) / step);
}

std::wstring Triple(const wchar_t* head, int a, int b, int c, const wchar_t* unit = L"") {
  const std::wstring u = unit;
  return head + DecimalText(a) + L", " + DecimalText(b) + u + L", " + DecimalText(c) + u + L")";
}

// Hue in whole degrees, 0 to 359, from the channels in 0..255; 0 for a grey.
int Hue(int r, int g, int b) {
  const int high = std::max({r, g, b}), low = std::min({r, g, b}), range = high - low;
  if (range == 0) return 0;
  int sixths = 0, offset = 0;  // hue = 60 * sixths / range + offset
  if (high == r) sixths = g - b, offset = 0;
  else if (high == g) sixths = b - r, offset = 120;
  else sixths = r - g, offset = 240;
  const int hue = RoundHalfUp(60 * sixths + offset * range, range);
  return ((hue % 360) + 360) % 360;
}

std::wstring Hsl(COLORREF c) {
  const int r = Red(c), g = Green(c), b = Blue(c);
  const int high = std::max({r, g, b}), low = std::min({r, g, b}), sum = high + low;
  // Saturation against the lightness's nearer end: range / sum below half, range / (510 - sum) above.
  const int den = sum <= 255 ? sum : 510 - sum;
  const int saturation = den == 0 ? 0 : RoundHalfUp(100 * (high - low), den);
  return Triple(L"hsl(", Hue(r, g, b), saturation, RoundHalfUp(100 * sum, 510), L"%");
}

std::wstring Hsv(COLORREF c) {
  const int r = Red(c), g = Green(c), b = Blue(c);
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  const int saturation = high == 0 ? 0 : RoundHalfUp(100 * (high - low), high);
  return Triple(L"hsv(", Hue(r, g, b), saturation, RoundHalfUp(100 * high, 255), L"%");
}

std::wstring HexDigits(std::uint32_t v, int digits) {
  std::wstring text(static_cast<size_t>(digits), L'0');
  for (int i = digits; i-- > 0; v >>= 4) text[static_cast<size_t>(i)] = L"0123456789ABCDEF"[v & 0xF];
  return text;
}

const std::array<ColourForm, 10> kForms{{
    {L"VB", [](COLORREF c) { return FormatColour(Value(c), TextForm::Vb); }},
    {L"decimal", [](COLORREF c) { return FormatColour(Value(c), TextForm::Decimal); }},
    {L"web", [](COLORREF c) { return FormatColour(Value(c), TextForm::Web); }},
    {L"CSS rgb", [](COLORREF c) { return Triple(L"rgb(", Red(c), Green(c), Blue(c)); }},
    {L"CSS hsl", Hsl},
    {L"HSV", Hsv},
    {L"C hex", [](COLORREF c) { return L"0x" + HexDigits(static_cast<std::uint32_t>(Red(c) << 16 | Green(c) << 8 | Blue(c)), 6); }},
    {L"RGB()", [](COLORREF c) { return Triple(L"RGB(", Red(c), Green(c), Blue(c)); }},
    {L".NET", [](COLORREF c) { return Triple(L"Color.FromArgb(", Red(c), Green(c), Blue(c)); }},
    {L"Delphi", [](COLORREF c) { return L"$00" + HexDigits(static_cast<std::uint32_t>(Value(c)), 6); }},
}};

// x^2.4 for x in (0, 1], as x^2 times the fifth root of x^2. Newton's steps for that root, from 1,
// which lies above it, fall until they reach it: within a unit of the last place, and no general
// power function linked in for the one exponent.
double PowerTwoPointFour(double x) {
  const double square = x * x;
  double root = 1;
  for (;;) {
    const double next = (4 * root + square / (root * root * root * root)) / 5;
    if (next >= root) return square * root;
    root = next;
  }
}

double Luminance(COLORREF c) {
  auto linear = [](int channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : PowerTwoPointFour((v + 0.055) / 1.055);
  };
  return 0.2126 * linear(Red(c)) + 0.7152 * linear(Green(c)) + 0.0722 * linear(Blue(c));
}

}  // namespace

std::span<const ColourForm> ColourForms() { return kForms; }

double ContrastRatio(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::wstring ContrastText(COLORREF a, COLORREF b) {
  const double ratio = ContrastRatio(a, b);
  // Cut off, not rounded: 4.499 must not read as the 4.50 it does not reach. The margin only
  // takes up the last bit of a quotient such as 21 that the division leaves a hair short.
  const int hundredths = static_cast<int>(std::floor(ratio * 100 + 1e-9));
  std::wstring text = DecimalText(hundredths / 100) + L"." + (hundredths % 100 < 10 ? L"0" : L"") +
                      DecimalText(hundredths % 100) + L":1";
  if (ratio >= 7) return text + L" AAA";
  if (ratio >= 4.5) return text + L" AA";
  if (ratio >= 3) return text + L" 大字 AA";
  return text;
}
