#include "data/dbase_ndx_key.h"

#include <charconv>
#include <cstring>

namespace morven {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [sign] digits [. digits] [E [sign] digits], with at least one mantissa digit.
bool WellFormedNumber(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == t.size();
}

bool NumericKey(std::string_view text, std::string& key) {
  size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  std::string_view t = text.substr(start);
  double value = 0;
  if (!t.empty()) {
    if (!WellFormedNumber(t)) return false;
    bool negative = t.front() == '-';
    if (t.front() == '+' || t.front() == '-') t.remove_prefix(1);
    // from_chars: independent of the locale, correctly rounded (ties to even).
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (end != t.data() + t.size()) return false;
    if (error == std::errc::result_out_of_range) {
      // Too small for a double is 0; too large is no key at all.
      size_t e = t.find_first_of("eE");
      if (e == std::string_view::npos || e + 1 >= t.size() || t[e + 1] != '-') return false;
      value = 0;
    }
    if (negative) value = -value;
  }
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  key.resize(kNumericKeyLength);
  for (size_t i = 0; i < kNumericKeyLength; ++i) key[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return true;
}

}  // namespace

bool NormalizeKey(std::string_view text, bool numeric, bool full_key, size_t key_length, std::string& key) {
  if (numeric) return NumericKey(text, key);
  key.assign(text.substr(0, full_key ? key_length : text.size()));
  if (full_key && key.size() < key_length) key.append(key_length - key.size(), ' ');
  return true;
}

int CompareKey(const uint8_t* stored, size_t key_length, std::string_view search, bool numeric) {
  auto s = reinterpret_cast<const uint8_t*>(search.data());
  if (numeric) {
    if (key_length < kNumericKeyLength || search.size() < kNumericKeyLength) return 0;
    bool stored_negative = (stored[7] & 0x80) != 0;
    bool search_negative = (s[7] & 0x80) != 0;
    if (stored_negative != search_negative) return stored_negative ? -1 : 1;
    for (int i = 7; i >= 0; --i) {
      if (stored[i] != s[i]) {
        int order = stored[i] < s[i] ? -1 : 1;
        return stored_negative ? -order : order;
      }
    }
    return 0;
  }
  size_t stored_length = key_length < search.size() ? key_length : search.size();
  int c = stored_length == 0 ? 0 : std::memcmp(stored, s, stored_length);
  if (c != 0) return c < 0 ? -1 : 1;
  return stored_length < search.size() ? -1 : 0;
}

}  // namespace morven
