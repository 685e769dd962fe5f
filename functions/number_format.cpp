#include "functions/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace morven {
namespace {

// A non-negative value as decimal digits: value = 0.DIGITS x 10^exp10. The digits have
// no leading or trailing zeros; none at all is the value 0.
struct Decimal {
  std::string digits;
  int exp10 = 0;
};

void DropTrailingZeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

Decimal Expand(double magnitude) {
  Decimal d;
  if (magnitude == 0) return d;
  // 18 significant digits, as the runtime turns every float into text.
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.17e", magnitude);
  const char* p = buffer;
  for (; *p != '\0' && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits += *p;
  d.exp10 = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
  DropTrailingZeros(d.digits);
  return d;
}

// Keeps `keep` leading digits, rounding halves away from zero (keep may be <= 0).
void Round(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  if (up) {
    int i = keep - 1;
    for (; i >= 0 && d.digits[static_cast<size_t>(i)] == '9'; --i) d.digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++d.digits[static_cast<size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp10;
    }
  }
  DropTrailingZeros(d.digits);
}

// Digit `index` of the digits (0 is the first), with zeros beyond both ends.
char DigitAt(const Decimal& d, int index) {
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(index)] : '0';
}

// What a section asks for, from one pass over it.
struct Layout {
  int integer_places = 0;   // 0 and # before the decimal point
  int integer_minimum = 0;  // integer digits always shown: from the first 0 on
  int fraction_places = 0;
  int fraction_minimum = 0;  // fraction digits always shown: up to the last 0
  bool thousands = false;
  bool scientific = false;
};

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool StartsExponent(std::string_view s, size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

// Position after the quoted text that starts at i (the rest when it is unterminated).
size_t AfterQuote(std::string_view s, size_t i) {
  size_t close = s.find(s[i], i + 1);
  return close == std::string_view::npos ? s.size() : close + 1;
}

Layout Scan(std::string_view section) {
  Layout layout;
  bool point = false;
  int first_integer_zero = -1;
  for (size_t i = 0; i < section.size();) {
    char c = section[i];
    if (IsQuote(c)) {
      i = AfterQuote(section, i);
      continue;
    }
    if (StartsExponent(section, i)) {
      layout.scientific = true;
      break;  // what follows the exponent is copied as it stands
    }
    if (c == '0' || c == '#') {
      if (point) {
        ++layout.fraction_places;
        if (c == '0') layout.fraction_minimum = layout.fraction_places;
      } else {
        if (c == '0' && first_integer_zero < 0) first_integer_zero = layout.integer_places;
        ++layout.integer_places;
      }
    } else if (c == '.') {
      point = true;
    } else if (c == ',') {
      layout.thousands = true;
    }
    ++i;
  }
  if (first_integer_zero >= 0) layout.integer_minimum = layout.integer_places - first_integer_zero;
  if (layout.scientific) layout.thousands = false;  // a mantissa has no groups
  return layout;
}

// The digits a section shows for a magnitude.
struct Digits {
  std::string integer;
  std::string fraction;
  int exponent = 0;
};

Digits Split(double magnitude, const Layout& layout) {
  Decimal d = Expand(magnitude);
  Digits out;
  int integer_digits;
  if (layout.scientific) {
    int significant = layout.integer_places + layout.fraction_places;
    Round(d, significant > 0 ? significant : 1);
    integer_digits = layout.integer_places;
    if (!d.digits.empty()) out.exponent = d.exp10 - layout.integer_places;
    d.exp10 = d.digits.empty() ? 0 : layout.integer_places;
  } else {
    Round(d, d.exp10 + layout.fraction_places);
    integer_digits = d.digits.empty() ? 0 : d.exp10;
  }
  for (int i = 0; i < integer_digits; ++i) out.integer += DigitAt(d, i);
  size_t lead = out.integer.find_first_not_of('0');
  out.integer.erase(0, lead == std::string::npos ? out.integer.size() : lead);
  if (static_cast<int>(out.integer.size()) < layout.integer_minimum)
    out.integer.insert(0, static_cast<size_t>(layout.integer_minimum) - out.integer.size(), '0');
  for (int i = 0; i < layout.fraction_places; ++i) out.fraction += DigitAt(d, d.exp10 + i);
  while (static_cast<int>(out.fraction.size()) > layout.fraction_minimum && out.fraction.back() == '0')
    out.fraction.pop_back();
  return out;
}

bool ShowsZero(double magnitude, const Layout& layout) {
  if (layout.scientific) return magnitude == 0;
  Digits d = Split(magnitude, layout);
  return d.integer.find_first_not_of('0') == std::string::npos && d.fraction.find_first_not_of('0') == std::string::npos;
}

// Writes one section for a magnitude.
class SectionWriter {
 public:
  SectionWriter(std::string& out, const Layout& layout, const Digits& digits, const platform::NumberSeparators& seps)
      : out_(out), layout_(layout), digits_(digits), seps_(seps) {}

  void Write(std::string_view section) {
    bool point = false;
    for (size_t i = 0; i < section.size();) {
      char c = section[i];
      if (IsQuote(c)) {
        size_t close = section.find(c, i + 1);
        size_t inner_end = close == std::string_view::npos ? section.size() : close;
        out_.append(section.substr(i + 1, inner_end - i - 1));
        i = inner_end + 1;
        continue;
      }
      if (StartsExponent(section, i)) {
        i = Exponent(section, i);
        out_.append(section.substr(i));  // the rest is copied
        return;
      }
      if (c == '0' || c == '#') {
        if (point) FractionPlace();
        else IntegerPlace();
      } else if (c == '.') {
        if (!point) DecimalPoint();
        point = true;
      } else if (c != ',') {
        out_ += c;
      }
      ++i;
    }
  }

 private:
  void IntegerDigit(size_t position) {
    const std::string& digits = digits_.integer;
    out_ += digits[position];
    size_t after = digits.size() - 1 - position;
    if (layout_.thousands && seps_.thousands != 0 && after > 0 && after % 3 == 0) out_ += seps_.thousands;
  }

  // The digits fill the integer places from the right; digits beyond them go to the
  // first place.
  void IntegerPlace() {
    int offset = static_cast<int>(digits_.integer.size()) - layout_.integer_places;
    if (integer_place_ == 0)
      for (int i = 0; i < offset; ++i) IntegerDigit(static_cast<size_t>(i));
    int index = integer_place_ + offset;
    if (index >= 0) IntegerDigit(static_cast<size_t>(index));
    ++integer_place_;
  }

  void DecimalPoint() {
    if (layout_.integer_places == 0)
      for (size_t i = 0; i < digits_.integer.size(); ++i) IntegerDigit(i);
    if (!digits_.fraction.empty()) out_ += seps_.decimal;
  }

  void FractionPlace() {
    if (fraction_place_ < digits_.fraction.size()) out_ += digits_.fraction[fraction_place_];
    ++fraction_place_;
  }

  // "E+" or "E-" and its zeros at i; returns the position after them.
  size_t Exponent(std::string_view section, size_t i) {
    out_ += section[i];
    bool always_sign = section[i + 1] == '+';
    i += 2;
    int width = 0;
    for (; i < section.size() && section[i] == '0' && width < 4; ++i) ++width;
    int e = digits_.exponent;
    if (e < 0) out_ += '-';
    else if (always_sign) out_ += '+';
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, std::abs(e));
    out_ += text;
    return i;
  }

  std::string& out_;
  const Layout& layout_;
  const Digits& digits_;
  const platform::NumberSeparators& seps_;
  int integer_place_ = 0;
  size_t fraction_place_ = 0;
};

// Up to 15 significant digits; the scientific form below 1E-4 and from 1E15 on.
std::string GeneralForm(double magnitude, char decimal) {
  Decimal d = Expand(magnitude);
  Round(d, 15);
  if (d.digits.empty()) return "0";
  int e = d.exp10 - 1;
  std::string text;
  if (e > -5 && e < 15) {
    if (d.exp10 <= 0) {
      text = "0";
      text += decimal;
      text.append(static_cast<size_t>(-d.exp10), '0');
      text += d.digits;
    } else {
      for (int i = 0; i < d.exp10; ++i) text += DigitAt(d, i);
      if (static_cast<int>(d.digits.size()) > d.exp10) {
        text += decimal;
        text += d.digits.substr(static_cast<size_t>(d.exp10));
      }
    }
  } else {
    text = d.digits.substr(0, 1);
    if (d.digits.size() > 1) {
      text += decimal;
      text += d.digits.substr(1);
    }
    text += 'E';
    text += std::to_string(e);
  }
  return text;
}

// The sections of a picture: ";" outside quotes separates them; only three count.
int SplitSections(std::string_view picture, std::string_view (&sections)[3]) {
  int count = 0;
  size_t start = 0;
  for (size_t i = 0; i <= picture.size() && count < 3;) {
    if (i == picture.size() || picture[i] == ';') {
      sections[count++] = picture.substr(start, i - start);
      start = ++i;
      continue;
    }
    i = IsQuote(picture[i]) ? AfterQuote(picture, i) : i + 1;
  }
  return count;
}

}  // namespace

bool FormatPicture(double value, std::string_view picture, const platform::NumberSeparators& separators,
                   ShortString& out) {
  if (picture.size() > kLongestPicture) return false;
  std::string text;
  if (std::isnan(value)) {
    text = "Nan";
  } else if (std::isinf(value)) {
    text = value > 0 ? "+Inf" : "-Inf";
  } else if (picture.empty()) {
    text = value < 0 ? "-" : "";
    text += GeneralForm(std::fabs(value), separators.decimal);
    if (text == "-0") text = "0";
  } else {
    std::string_view sections[3];
    int count = SplitSections(picture, sections);
    double magnitude = std::fabs(value);
    std::string_view section = sections[0];
    bool minus = false;
    // A value that shows as zero is zero: it has no sign and takes the zero section.
    if (ShowsZero(magnitude, Scan(sections[0]))) {
      magnitude = 0;
      if (count >= 3 && !sections[2].empty()) section = sections[2];
    } else if (value < 0) {
      if (count >= 2 && !sections[1].empty()) section = sections[1];
      else minus = true;
    }
    Layout layout = Scan(section);
    Digits digits = Split(magnitude, layout);
    if (minus) text += '-';
    SectionWriter(text, layout, digits, separators).Write(section);
  }
  out.Assign(text);
  return true;
}

}  // namespace morven
