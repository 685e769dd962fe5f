#pragma once
// Picture formatting of numbers (function 0x44). docs/decisions.md lists the syntax.
#include <string_view>

#include "core/short_string.h"
#include "platform/locale_dates.h"

namespace morven {

// Pictures longer than this cannot be used.
constexpr size_t kLongestPicture = 224;

// value formatted with picture: 0 a digit always shown, # a digit shown when
// significant, the first "." the decimal separator, "," thousands separators, E+ E-
// e+ e- scientific notation with the following zeros as exponent digits, text in
// double or single quotes copied, every other character copied; up to three sections
// separated by ";" for positive, negative and zero values. An empty picture gives the
// general form (up to 15 significant digits). False when the picture is too long.
bool FormatPicture(double value, std::string_view picture, const platform::NumberSeparators& separators,
                   ShortString& out);

}  // namespace morven
