// Arithmetic of the borderless main window: twips-to-pixel rounding and the hover rectangle.
#pragma once

// Rounds to the nearest integer, halves to the even neighbour (300.5 -> 300, 301.5 -> 302,
// -0.5 -> 0), the rounding a form runtime applies when it turns twips into whole pixels.
// Values beyond the int range are clamped; NaN gives 0.
int RoundHalfEven(double v);

// The main window's rectangle in screen pixels, converted from twips and not rounded.
struct HoverRectangle {
  float Left, Top, Width, Height;
};

// True when the pointer lies strictly inside: the window's left-most column and top-most row count
// as outside, its right-most column (Left + Width - 1) as inside.
bool PointerInside(const HoverRectangle& r, int px, int py);
