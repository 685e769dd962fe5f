#include "core/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"

namespace morven {

int32_t Decimals = 6;
int32_t NumberWidth = 0;
int32_t StringWidth = 0;

namespace {

ShortString PadLeft(std::string_view text, int32_t width) {
  ShortString out;
  for (int32_t i = static_cast<int32_t>(text.size()); i < width && out.length < kShortStringMax; ++i) out.Append(' ');
  out.Append(text);
  return out;
}

// A non-negative finite value as decimal digits: value = 0.DIGITS x 10^exp10, the
// digits after `count` being zeros. Fixed buffers: a float read turns its value into
// text every time, so this path allocates nothing.
struct DecimalDigits {
  char digit[20];
  int count = 0;
  int exp10 = 0;

  char At(int position) const { return position >= 0 && position < count ? digit[position] : '0'; }
};

DecimalDigits ToDigits(double magnitude) {
  char buf[40];
  // 18 significant digits, as the runtime always turned floats into text: a double's
  // exact binary expansion is longer, but its digits beyond these are noise.
  std::snprintf(buf, sizeof buf, "%.17e", magnitude);
  DecimalDigits d;
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') d.digit[d.count++] = *p;
  d.exp10 = std::atoi(p + 1) + 1;
  return d;
}

// Keeps `keep` leading digits, rounding halves away from zero (keep may be <= 0).
void RoundDigits(DecimalDigits& d, int keep) {
  if (keep >= d.count) return;
  bool up = keep >= 0 && d.digit[keep] >= '5';
  d.count = keep > 0 ? keep : 0;
  if (!up) return;
  int i = d.count - 1;
  for (; i >= 0; --i) {
    if (d.digit[i] != '9') {
      ++d.digit[i];
      return;
    }
    d.digit[i] = '0';
  }
  // Carried out of the first digit: 0.999.. becomes 1.000.. one place higher.
  d.digit[0] = '1';
  d.count = 1;
  ++d.exp10;
}

// Appends to a text buffer of the formats, never past its end.
struct TextBuffer {
  char text[kShortStringMax + 1];
  size_t length = 0;
  void Put(char c) {
    if (length < sizeof text) text[length++] = c;
  }
  std::string_view View() const { return {text, length < kShortStringMax ? length : kShortStringMax}; }
};

void FixedText(double value, int decimals, TextBuffer& out) {
  DecimalDigits d = ToDigits(std::fabs(value));
  RoundDigits(d, d.exp10 + decimals);
  if (value < 0) out.Put('-');
  if (d.exp10 <= 0) out.Put('0');
  for (int i = 0; i < d.exp10; ++i) out.Put(d.At(i));
  if (decimals <= 0) return;
  out.Put('.');
  for (int j = 0; j < decimals && out.length < sizeof out.text; ++j) out.Put(d.At(d.exp10 + j));
}

void ScientificText(double value, int32_t width, TextBuffer& out) {
  int significant = width - 8;
  if (significant < 2) significant = 2;
  if (significant > 18) significant = 18;
  DecimalDigits d = ToDigits(std::fabs(value));
  RoundDigits(d, significant);
  int exponent = value == 0 ? 0 : d.exp10 - 1;
  out.Put(value < 0 ? '-' : ' ');
  out.Put(d.At(0));
  out.Put('.');
  for (int i = 1; i < significant; ++i) out.Put(d.At(i));
  char exp[16];
  std::snprintf(exp, sizeof exp, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
  for (const char* p = exp; *p != '\0'; ++p) out.Put(*p);
}

// Length of the well-formed number at the start of text (0: none), per FloatParse.
size_t WellFormedPrefix(std::string_view t, bool& whole) {
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (digits == 0) {
    whole = false;
    return 0;
  }
  size_t mantissa_end = i;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    size_t exp_digits = 0;
    while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j, ++exp_digits;
    i = exp_digits > 0 ? j : mantissa_end;
  }
  whole = i == t.size();
  return i;
}

}  // namespace

ShortString FormatInteger(int32_t value, int32_t width) {
  // Every variable read turns its value into text, so this avoids printf.
  char buf[12];
  char* end = buf + sizeof buf;
  char* p = end;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  std::string_view digits(p, static_cast<size_t>(end - p));
  if (width <= static_cast<int32_t>(digits.size())) return ShortString(digits);
  return PadLeft(digits, width);
}

ShortString FormatFloat(double value, int32_t width, int32_t decimals) {
  if (std::isnan(value)) return PadLeft("Nan", width);
  if (std::isinf(value)) return PadLeft(value > 0 ? "+Inf" : "-Inf", width);
  TextBuffer text;
  if (decimals >= 0 && std::fabs(value) < 1e36) FixedText(value, decimals, text);
  else ScientificText(value, width, text);
  return PadLeft(text.View(), width);
}

int32_t IntegerPrefix(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  uint64_t value = 0;
  if (i < t.size() && t[i] == '$') {
    for (++i; i < t.size(); ++i) {
      int digit = std::isdigit(static_cast<unsigned char>(t[i])) ? t[i] - '0'
                  : (t[i] >= 'a' && t[i] <= 'f') ? t[i] - 'a' + 10
                  : (t[i] >= 'A' && t[i] <= 'F') ? t[i] - 'A' + 10 : -1;
      if (digit < 0 || value * 16 + static_cast<uint64_t>(digit) > 0xFFFFFFFFu) break;
      value = value * 16 + static_cast<uint64_t>(digit);
    }
  } else {
    const uint64_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) {
      uint64_t next = value * 10 + static_cast<uint64_t>(t[i] - '0');
      if (next > limit) break;
      value = next;
    }
  }
  auto result = static_cast<uint32_t>(value);
  return static_cast<int32_t>(negative ? 0u - result : result);
}

bool FloatParse(std::string_view text, double& value) {
  bool whole = false;
  size_t length = WellFormedPrefix(text, whole);
  value = 0;
  if (length == 0) return false;
  if (whole && length <= 16) {
    // Plain integers (most literals) convert exactly without strtod.
    size_t i = 0;
    while (text[i] == ' ') ++i;
    bool negative = text[i] == '-';
    if (text[i] == '+' || text[i] == '-') ++i;
    int64_t n = 0;
    size_t first = i;
    while (i < length && text[i] >= '0' && text[i] <= '9') n = n * 10 + (text[i++] - '0');
    if (i == length && i > first) {
      value = static_cast<double>(negative ? -n : n);
      return true;
    }
  }
  char buf[kShortStringMax + 1];
  size_t n = length < kShortStringMax ? length : kShortStringMax;
  text.copy(buf, n);
  buf[n] = '\0';
  value = std::strtod(buf, nullptr);
  if (!std::isfinite(value)) {  // beyond the range of a double: not a number
    value = 0;
    return false;
  }
  return whole;
}

void SetDecimalsCommand() {
  ReadArgument(' ', kKindNumber);
  Decimals = IntValue;
  LineHandled = true;
}

void SetStringWidthCommand() {
  ReadArgument(' ', kKindNumber);
  StringWidth = IntValue;
  LineHandled = true;
}

void SetNumberWidthCommand() {
  ReadArgument(' ', kKindNumber);
  NumberWidth = IntValue;
  LineHandled = true;
}

}  // namespace morven
