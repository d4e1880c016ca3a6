// Every form a colour's value is handed over in, as one table: the three of the option buttons
// first, then those of style sheets, drawing programs and programming languages. And the
// contrast of two colours, as the accessibility guidelines reckon it.
#pragma once
#include <windows.h>

#include <span>
#include <string>

struct ColourForm {
  const wchar_t* name;  // for the tests and the reader; the menu shows the text itself
  std::wstring (*text)(COLORREF colour);
};

// In this order: VB, decimal, web (the option buttons' forms), CSS rgb(), CSS hsl(), hsv(), C hex,
// the RGB() function, .NET's Color.FromArgb, Delphi's $00BBGGRR.
std::span<const ColourForm> ColourForms();

// The ratio of the lighter colour's relative luminance (sRGB) plus 0.05 to the darker's.
double ContrastRatio(COLORREF a, COLORREF b);
// "4.47:1", two decimals cut off (4.4999 reads 4.49), then the level it reaches: " AAA" from 7,
// " AA" from 4.5, " 大字 AA" from 3 (large text only), nothing below.
std::wstring ContrastText(COLORREF a, COLORREF b);
