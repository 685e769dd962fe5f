#pragma once
// Numbers as text and text as numbers, with the settings the program chooses.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"

namespace morven {

// Digits after the point when a float becomes text (default 6; below 0: scientific).
extern int32_t Decimals;
// Minimum width of numbers turned into text; shorter text is padded on the left.
extern int32_t NumberWidth;
// Minimum width of strings written to a file slot.
extern int32_t StringWidth;

// Decimal text, padded with blanks on the left to width.
ShortString FormatInteger(int32_t value, int32_t width);

// Fixed notation with `decimals` digits (rounded, halves away from zero) for
// decimals >= 0 and magnitudes below 1E36; otherwise the scientific form
// " d.dddE+dddd" with width - 8 significant digits (2 to 18). "Nan", "+Inf", "-Inf"
// for the values that are not numbers. Padded with blanks on the left to width.
ShortString FormatFloat(double value, int32_t width, int32_t decimals);

// The same with the program's current settings.
inline ShortString IntegerText(int32_t value) { return FormatInteger(value, NumberWidth); }
inline ShortString FloatText(double value) { return FormatFloat(value, NumberWidth, Decimals); }

// Leading blanks, an optional sign, then decimal digits or "$" and hex digits, up to
// the first other character; a digit that would overflow 32 bits ends the reading.
// 0 when there are no digits.
int32_t IntegerPrefix(std::string_view text);

// The whole text must be: blanks, optional sign, digits, optional "." and digits,
// optional "E"/"e", optional sign and digits. On failure `value` still receives the
// value of the longest well-formed prefix (0 when there is none).
bool FloatParse(std::string_view text, double& value);

// Commands 0xA3, 0xA4, 0xA5: one number each, for Decimals, StringWidth, NumberWidth.
void SetDecimalsCommand();
void SetStringWidthCommand();
void SetNumberWidthCommand();

}  // namespace morven
