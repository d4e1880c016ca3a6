#include "colour/colour_value.h"

#include <algorithm>

Components SplitColour(std::int32_t v) {
  // C++ division and remainder truncate toward zero, like the BASIC operators \ and Mod.
  const std::int64_t value = v;
  const std::int64_t red = value % 256;
  const std::int64_t blue = value / 65536;
  const std::int64_t green = (value - 65536 * blue - red) / 256;
  return {static_cast<std::int16_t>(red), static_cast<std::int16_t>(green), static_cast<std::int16_t>(blue)};
}

std::int32_t PackComponents(int red, int green, int blue) {
  const std::int64_t value = std::int64_t{red} + 256 * std::int64_t{green} + 65536 * std::int64_t{blue};
  return static_cast<std::int32_t>(value);
}

std::int32_t PackRgb(const RgbBytes& c) { return PackComponents(c.red, c.green, c.blue); }

namespace {

constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

std::size_t WriteHex(std::uint32_t v, wchar_t* out) {
  std::size_t count = 1;
  while (count < 8 && (v >> (4 * count)) != 0) ++count;
  for (std::size_t i = count; i-- > 0; v >>= 4) out[i] = kHexDigits[v & 0xF];
  return count;
}

std::size_t WriteByte(std::uint32_t byte, wchar_t* out) {
  out[0] = kHexDigits[(byte >> 4) & 0xF];
  out[1] = kHexDigits[byte & 0xF];
  return 2;
}

std::size_t WriteDecimal(std::int32_t v, wchar_t* out) {
  std::size_t length = 0;
  // The magnitude in unsigned 32 bits covers INT32_MIN too, and spares the 32-bit build a
  // 64-bit division per digit.
  std::uint32_t magnitude = static_cast<std::uint32_t>(v);
  if (v < 0) {
    out[length++] = L'-';
    magnitude = 0u - magnitude;
  }
  std::size_t count = 1;
  for (std::uint32_t rest = magnitude / 10; rest != 0; rest /= 10) ++count;
  for (std::size_t i = count; i-- > 0; magnitude /= 10) out[length + i] = static_cast<wchar_t>(L'0' + magnitude % 10);
  return length + count;
}

}  // namespace

std::size_t WriteColourText(std::int32_t v, TextForm form, wchar_t (&out)[kColourTextCapacity]) {
  std::size_t length = 0;
  switch (form) {
    case TextForm::Vb:
      out[length++] = L'&';
      out[length++] = L'H';
      length += WriteHex(static_cast<std::uint32_t>(v), out + length);
      out[length++] = L'&';
      break;
    case TextForm::Decimal:
      length = WriteDecimal(v, out);
      break;
    case TextForm::Web:
      out[length++] = L'#';
      for (int shift : {0, 8, 16}) length += WriteByte(static_cast<std::uint32_t>(v) >> shift, out + length);
      break;
  }
  out[length] = L'\0';
  return length;
}

std::wstring FormatColour(std::int32_t v, TextForm form) {
  wchar_t text[kColourTextCapacity];
  return std::wstring(text, WriteColourText(v, form, text));
}

std::wstring DecimalText(int v) {
  wchar_t text[kColourTextCapacity];
  return std::wstring(text, WriteDecimal(v, text));
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The clamp is applied while reading, so a number of any length neither overflows nor costs more
// than one pass.
int ReadClampedComponent(std::wstring_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') break;
    value = std::min(value * 10 + (c - L'0'), 256);
  }
  if (negative) return 0;
  return std::min(value, 255);
}

}  // namespace

std::uint8_t FieldToByte(std::wstring_view text) { return static_cast<std::uint8_t>(ReadClampedComponent(text)); }

std::int16_t FieldToInteger(std::wstring_view text) { return static_cast<std::int16_t>(ReadClampedComponent(text)); }
