#pragma once
// The string key: a table of 255 bytes that function 0x76 uses to scramble and
// unscramble strings. Command 0x77 sets it; it is empty (no key) at start.
#include <string_view>

#include "core/short_string.h"

namespace morven {

extern ShortString TextScrambleKey;

// The table of a key text: each byte's two lowest bits moved to the two highest
// positions, repeated to 255 bytes. An empty text gives the empty table.
ShortString StringKeyTable(std::string_view key);

// Byte i (from 1) keeps its low six bits; its two high bits are combined by exclusive
// or with those of table byte 256 - i. Only a full table (255 bytes) changes the text,
// so applying it twice restores the original.
void ApplyStringKey(ShortString& text, const ShortString& table);

// Token 0x77: the key from one string argument (the rest of the line).
void SetStringKeyCommand();

}  // namespace morven
