#include "settings/position_text.h"

#include <windows.h>

#include <algorithm>
#include <cfloat>
#include <cerrno>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSignificantDigits = 7;

// v rounded to seven significant digits: the digits without trailing zeros, and the decimal
// exponent of the first one (1.5 -> "15", 0; 120 -> "12", 2).
struct DecimalDigits {
  bool negative;
  std::string digits;
  int exponent;
};

// Little-endian decimal digits times a small factor, in place.
void MultiplyDigits(std::vector<std::uint8_t>& digits, unsigned factor) {
  unsigned carry = 0;
  for (std::uint8_t& digit : digits) {
    carry += digit * factor;
    digit = static_cast<std::uint8_t>(carry % 10);
    carry /= 10;
  }
  for (; carry > 0; carry /= 10) digits.push_back(static_cast<std::uint8_t>(carry % 10));
}

// Rounds to the nearest, a tie to the even digit, from the exact decimal value of v: a float is
// m * 2^e with a whole m below 2^24, that is m * 2^e or m * 5^-e / 10^-e, a few dozen digits.
DecimalDigits RoundToSignificant(float v) {
  int e = 0;
  const float fraction = std::frexp(std::fabs(v), &e);
  std::uint32_t m = static_cast<std::uint32_t>(std::ldexp(fraction, 24));
  e -= 24;
  std::vector<std::uint8_t> digits;
  for (; m > 0; m /= 10) digits.push_back(static_cast<std::uint8_t>(m % 10));
  const int lastDigitExponent = e < 0 ? e : 0;
  for (; e > 0; --e) MultiplyDigits(digits, 2);
  for (; e < 0; ++e) MultiplyDigits(digits, 5);
  DecimalDigits result{v < 0, {}, lastDigitExponent + static_cast<int>(digits.size()) - 1};
  const std::size_t kept = std::min<std::size_t>(digits.size(), kSignificantDigits);
  const std::size_t cut = digits.size() - kept;  // digits[cut - 1] is the first one dropped
  bool up = false;
  if (cut > 0) {
    const bool beyondHalf = std::any_of(digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(cut - 1),
                                        [](std::uint8_t d) { return d != 0; });
    const std::uint8_t first = digits[cut - 1];
    up = first > 5 || (first == 5 && (beyondHalf || digits[cut] % 2 == 1));
  }
  std::vector<std::uint8_t> rounded(digits.begin() + static_cast<std::ptrdiff_t>(cut), digits.end());
  for (std::size_t i = 0; up && i < rounded.size(); ++i) {
    up = rounded[i] == 9;
    rounded[i] = up ? 0 : static_cast<std::uint8_t>(rounded[i] + 1);
  }
  if (up) {  // 9999999.5 becomes 1000000 of the next power of ten
    rounded.push_back(1);
    ++result.exponent;
  }
  for (auto d = rounded.rbegin(); d != rounded.rend(); ++d) result.digits += static_cast<char>('0' + *d);
  while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
  return result;
}

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring ExponentForm(const DecimalDigits& d, wchar_t separator) {
  std::wstring text = Widen(d.digits.substr(0, 1));
  if (d.digits.size() > 1) text += separator + Widen(d.digits.substr(1));
  const int magnitude = std::abs(d.exponent);  // at most 45 for a single: two digits
  text += d.exponent < 0 ? L"E-" : L"E+";
  text += static_cast<wchar_t>(L'0' + magnitude / 10);
  return text + static_cast<wchar_t>(L'0' + magnitude % 10);
}

std::wstring FixedForm(const DecimalDigits& d, wchar_t separator) {
  if (d.exponent < 0) return L"0" + std::wstring(1, separator) + std::wstring(-d.exponent - 1, L'0') + Widen(d.digits);
  const std::size_t wholeDigits = static_cast<std::size_t>(d.exponent) + 1;
  if (d.digits.size() <= wholeDigits) return Widen(d.digits) + std::wstring(wholeDigits - d.digits.size(), L'0');
  return Widen(d.digits.substr(0, wholeDigits)) + separator + Widen(d.digits.substr(wholeDigits));
}

}  // namespace

std::wstring SingleToText(float v, wchar_t decimalSeparator) {
  if (std::isnan(v)) return L"NaN";
  if (std::isinf(v)) return v < 0 ? L"-Infinity" : L"Infinity";
  if (v == 0) return L"0";
  const DecimalDigits d = RoundToSignificant(v);
  const std::wstring body = d.exponent >= kSignificantDigits || d.exponent < -4 ? ExponentForm(d, decimalSeparator)
                                                                                : FixedForm(d, decimalSeparator);
  return d.negative ? L"-" + body : body;
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The text after its checks, in the form strtod reads ('.' as separator, no leading '+'),
// with the decimal exponent of its leading digit estimated to tell overflow from underflow.
struct CheckedNumber {
  std::string ascii;
  long long leadingExponent = 0;
  bool negative = false;
  bool zero = false;
};

// Reads the digits at `at` (and one separator when allowed) into `out`; returns the digit count.
std::size_t TakeDigits(std::wstring_view text, std::size_t& at, std::string& out, wchar_t separator,
                       std::size_t* digitsBeforeSeparator) {
  std::size_t digits = 0;
  bool separatorSeen = separator == L'\0';
  for (; at < text.size(); ++at) {
    if (IsDigit(text[at])) {
      out += static_cast<char>(text[at]);
      ++digits;
    } else if (text[at] == separator && !separatorSeen) {
      separatorSeen = true;
      if (digitsBeforeSeparator) *digitsBeforeSeparator = digits;
      out += '.';
    } else {
      break;
    }
  }
  if (!separatorSeen && digitsBeforeSeparator) *digitsBeforeSeparator = digits;
  return digits;
}

long long ExponentValue(std::string_view digits, bool negative) {
  long long value = 0;
  for (char c : digits) value = std::min(value * 10 + (c - '0'), 100'000'000LL);  // saturates
  return negative ? -value : value;
}

// Decimal exponent of the leading non-zero digit of a mantissa such as "0012.5" or ".003";
// wholeDigits counts the digits in front of the separator.
long long LeadingDigitExponent(std::string_view mantissa, std::size_t wholeDigits) {
  const std::size_t firstNonZero = mantissa.find_first_not_of("0.");
  if (firstNonZero == std::string_view::npos) return 0;
  const std::size_t separatorAt = mantissa.find('.');
  const bool separatorFirst = separatorAt != std::string_view::npos && separatorAt < firstNonZero;
  return static_cast<long long>(wholeDigits) - 1 - static_cast<long long>(firstNonZero - separatorFirst);
}

// Appends "e[sign]digits" when the text goes on with an exponent; false when that exponent is
// malformed.
bool TakeExponent(std::wstring_view text, std::size_t& at, CheckedNumber& number) {
  if (at >= text.size() || (text[at] != L'E' && text[at] != L'e')) return true;
  number.ascii += 'e';
  ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
    negative = text[at] == L'-';
    number.ascii += static_cast<char>(text[at++]);
  }
  const std::size_t digitsStart = number.ascii.size();
  if (TakeDigits(text, at, number.ascii, L'\0', nullptr) == 0) return false;
  number.leadingExponent += ExponentValue(std::string_view(number.ascii).substr(digitsStart), negative);
  return true;
}

std::optional<CheckedNumber> CheckNumberText(std::wstring_view text, wchar_t separator) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  CheckedNumber number;
  std::size_t at = 0;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) number.negative = text[at++] == L'-';
  if (number.negative) number.ascii += '-';
  const std::size_t mantissaStart = number.ascii.size();
  std::size_t wholeDigits = 0;
  if (TakeDigits(text, at, number.ascii, separator, &wholeDigits) == 0) return std::nullopt;
  const std::string_view mantissa = std::string_view(number.ascii).substr(mantissaStart);
  number.zero = mantissa.find_first_not_of("0.") == std::string_view::npos;
  number.leadingExponent = LeadingDigitExponent(mantissa, wholeDigits);
  if (!TakeExponent(text, at, number) || at != text.size()) return std::nullopt;
  return number;
}

}  // namespace

std::optional<double> TextToNumber(std::wstring_view text, wchar_t decimalSeparator) {
  const std::optional<CheckedNumber> number = CheckNumberText(text, decimalSeparator);
  if (!number) return std::nullopt;
  const char* first = number->ascii.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(first, &end);
  if (errno == ERANGE) {
    if (!number->zero && number->leadingExponent > 0) return std::nullopt;
    if (value == 0) return number->negative ? -0.0 : 0.0;
  }
  if (end != first + number->ascii.size()) return std::nullopt;
  return value;
}

std::optional<float> TextToSingle(std::wstring_view text, wchar_t decimalSeparator) {
  const std::optional<double> value = TextToNumber(text, decimalSeparator);
  if (!value || std::fabs(*value) > FLT_MAX) return std::nullopt;
  return static_cast<float>(*value);
}

wchar_t LocaleDecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2) return L'.';
  return separator[0];
}
