#pragma once
// Numbers to text in a base, and the number written in a text.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"

namespace morven {

// 0x34, 0x35, 0x36: n in base 16, 8 or 2 with upper-case digits and no leading zeros,
// a minus sign in front for negative n.
ShortString BaseText(int32_t n, int base);

// The forms 0xBD gives a text.
struct TextNumber {
  int32_t integer = 0;  // integer and long form
  double floating = 0;
  uint8_t type = 3;     // 4 when the text contains ".", else 3
  ShortString text;
};

// 0xBD: the text without blanks at its ends; "$", "&" or "%" in front: the rest in
// base 16, 8 or 2; otherwise the decimal integer prefix and the float value of the
// longest well-formed number at the start. Never fails: what cannot be read counts 0.
TextNumber NumberFromText(std::string_view s);

// The digits after a "$", "&" or "%": blanks, one "-" before the digits (negates),
// then digits of the base (A-F in either case for 16) up to the first other
// character or a digit that would pass 32 bits.
int32_t BasePrefix(std::string_view digits, int base);

}  // namespace morven
