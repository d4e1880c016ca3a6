// Numbers of twips as text, the form in which the window position lives in the settings store.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A single-precision number as a form runtime writes it: rounded to seven significant digits;
// a whole number without decimals ("7905", "-120", "0", also for -0); a fraction with the given
// decimal separator and no trailing zeros ("12.5", "0,25"); a magnitude of 1E+07 or more, or
// below 1E-04, in exponent form with the digits trimmed ("1.234568E+07", "1E-05").
// Infinities and NaN, which no window position holds, come out as "Infinity", "-Infinity", "NaN";
// TextToNumber rejects them.
std::wstring SingleToText(float v, wchar_t decimalSeparator);

// Strict reading of such a text: blanks around it are allowed; then an optional sign, digits with at
// most one decimal separator (the given one only: with ',' a '.' is garbage, and the other way
// round) and at least one digit, then an optional exponent E/e with optional sign and digits.
// The whole text must be used. Garbage, empty text and values beyond the double range give
// nullopt; a value too small for a double reads as zero. Any length is read in linear time.
std::optional<double> TextToNumber(std::wstring_view text, wchar_t decimalSeparator);

// TextToNumber, also failing when the value lies beyond the single-precision range.
std::optional<float> TextToSingle(std::wstring_view text, wchar_t decimalSeparator);

// The user's decimal separator (locale setting), '.' when it cannot be read.
wchar_t LocaleDecimalSeparator();
