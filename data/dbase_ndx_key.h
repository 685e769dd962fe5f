#pragma once
// NDX keys: how a key text becomes the bytes stored in an index, and how stored keys
// compare with a search key.
//
// Character keys are the key text, padded with blanks or cut to the key length, and
// compare as unsigned bytes (no collation). Numeric keys are the 8 bytes of an IEEE 754
// double, little-endian, ordered by the sign bit (negative below positive), then by the
// bytes from the highest to the lowest as unsigned values, reversed for negative
// numbers. Date fields index as the number whose digits are their YYYYMMDD text.
#include <cstdint>
#include <string>
#include <string_view>

namespace morven {

constexpr size_t kNumericKeyLength = 8;

// The stored form of a key text. Numeric: blanks first, then only digits, "+", "-",
// "." and "E"/"e" in the shape [sign] digits [. digits] [E [sign] digits]; the empty
// text is 0. Returns false for any other text. Character, full: padded or cut to
// key_length; character, prefix: the text as given.
bool NormalizeKey(std::string_view text, bool numeric, bool full_key, size_t key_length, std::string& key);

// <0, 0, >0 as the stored key (key_length bytes) is below, equal to or above the search
// key. Character keys: the stored key cut to the search key's length, then bytewise,
// the shorter being lower when one is the prefix of the other. So in prefix mode a
// search key matches every entry that begins with it.
int CompareKey(const uint8_t* stored, size_t key_length, std::string_view search, bool numeric);

}  // namespace morven
