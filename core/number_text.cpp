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

// A non-negative finite value as decimal digits: value = 0.DIGITS x 10^exp10.
struct DecimalDigits {
  std::string digits;
  int exp10 = 0;
};

DecimalDigits ToDigits(double magnitude) {
  char buf[64];
  // 18 significant digits, as the runtime always turned floats into text: a double's
  // exact binary expansion is longer, but its digits beyond these are noise.
  std::snprintf(buf, sizeof buf, "%.17e", magnitude);
  DecimalDigits d;
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') d.digits += *p;
  d.exp10 = std::atoi(p + 1) + 1;
  return d;
}

// Keeps `keep` leading digits, rounding halves away from zero (keep may be <= 0).
void RoundDigits(DecimalDigits& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) {
    d.digits.append(static_cast<size_t>(keep) - d.digits.size(), '0');
    return;
  }
  bool up = keep >= 0 && d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(keep > 0 ? static_cast<size_t>(keep) : 0);
  if (!up) return;
  int i = keep - 1;
  for (; i >= 0; --i) {
    if (d.digits[static_cast<size_t>(i)] != '9') {
      ++d.digits[static_cast<size_t>(i)];
      break;
    }
    d.digits[static_cast<size_t>(i)] = '0';
  }
  if (i < 0) {  // carried out of the first digit: 0.999.. -> 1.000..
    d.digits.insert(d.digits.begin(), '1');
    if (keep > 0) d.digits.pop_back();
    ++d.exp10;
  }
}

std::string FixedText(double value, int decimals) {
  DecimalDigits d = ToDigits(std::fabs(value));
  RoundDigits(d, d.exp10 + decimals);
  // The digits stand for an integer N with value N x 10^-decimals.
  int needed = d.exp10 + decimals;
  std::string all = needed > 0 ? d.digits : std::string();
  if (needed > 0 && static_cast<int>(all.size()) < needed) all.append(static_cast<size_t>(needed) - all.size(), '0');
  int integer_digits = static_cast<int>(all.size()) - decimals;
  if (integer_digits <= 0) {
    all.insert(0, static_cast<size_t>(1 - integer_digits), '0');
    integer_digits = 1;
  }
  std::string text = value < 0 ? "-" : "";
  size_t lead = 0;  // drop leading zeros of the integer part, keeping one
  while (lead + 1 < static_cast<size_t>(integer_digits) && all[lead] == '0') ++lead;
  text.append(all, lead, static_cast<size_t>(integer_digits) - lead);
  if (decimals > 0) {
    text += '.';
    text.append(all, static_cast<size_t>(integer_digits), std::string::npos);
  }
  return text;
}

std::string ScientificText(double value, int32_t width) {
  int significant = width - 8;
  if (significant < 2) significant = 2;
  if (significant > 18) significant = 18;
  DecimalDigits d = ToDigits(std::fabs(value));
  RoundDigits(d, significant);
  int exponent = value == 0 ? 0 : d.exp10 - 1;
  std::string text = value < 0 ? "-" : " ";
  text += d.digits[0];
  text += '.';
  text.append(d.digits, 1, std::string::npos);
  char exp[16];
  std::snprintf(exp, sizeof exp, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + exp;
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
  std::string text;
  if (std::isnan(value)) text = "Nan";
  else if (std::isinf(value)) text = value > 0 ? "+Inf" : "-Inf";
  else if (decimals >= 0 && std::fabs(value) < 1e36) text = FixedText(value, decimals);
  else text = ScientificText(value, width);
  return PadLeft(text, width);
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
