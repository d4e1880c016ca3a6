// Colour values in COLORREF order (red + 256 * green + 65536 * blue), their split into components,
// and the texts the value field shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct RgbBytes {
  std::uint8_t red, green, blue;
};

struct Components {
  std::int16_t red, green, blue;
};

// red = v Mod 256, blue = v \ 65536, green = (v - 65536 * blue - red) \ 256, both divisions
// truncating toward zero. Bits 24..31 are not masked off, so a value above 0xFFFFFF yields a blue
// above 255; a negative value yields negative components.
Components SplitColour(std::int32_t v);

// red + 256 * green + 65536 * blue; components are expected in 0..255.
std::int32_t PackComponents(int red, int green, int blue);
std::int32_t PackRgb(const RgbBytes& c);

enum class TextForm { Vb, Decimal, Web };

// Vb: "&H" + hex + "&" (a long hexadecimal constant in BASIC source), hex in blue-green-red order
// without leading zeros. Decimal: the plain number. Web: "#RRGGBB", as every program that reads
// "#" colours reads them: red, green, blue, two upper-case digits each, from the low 24 bits.
std::wstring FormatColour(std::int32_t v, TextForm form);

// The longest text FormatColour can produce is "&HFFFFFFFF&" (negative input, 11 characters) or
// "-2147483648" (11 characters).
inline constexpr std::size_t kColourTextCapacity = 12;

// FormatColour into a caller's buffer, no allocation: writes at most kColourTextCapacity - 1
// characters plus a NUL and returns the number of characters written (without the NUL).
std::size_t WriteColourText(std::int32_t v, TextForm form, wchar_t (&out)[kColourTextCapacity]);

// Plain decimal: "-" for negatives, nothing for zero and above, no leading blank or zeros.
std::wstring DecimalText(int v);

// Reading a component field back. The program itself only ever writes the decimal numbers 0..255
// there, but the fields are ordinary edit windows and another process can put any text into them
// (WM_SETTEXT reaches a read-only edit too). Such text is read by one safe rule:
//   - leading and trailing blanks (space, tab, CR, LF) are ignored;
//   - the longest prefix of the form [+|-]digits is read ("12abc" -> 12, "12.7" -> 12, "1e3" -> 1);
//   - the number is clamped to 0..255 ("-5" -> 0, "300" -> 255, a 10,000-digit number -> 255);
//   - empty text, or text without a leading number ("abc", "-", "0x1F" reads its "0"), gives 0.
// Nothing overflows, so a colour packed from the three fields always lies in 0..0xFFFFFF.
std::uint8_t FieldToByte(std::wstring_view text);
// The same reading as a 16-bit integer, for the sums that pack a colour in 16/32-bit arithmetic.
std::int16_t FieldToInteger(std::wstring_view text);
