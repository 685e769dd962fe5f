#pragma once
// String operations shared by the argument reader, the block scans and the tools.
#include <cstddef>
#include <string_view>

#include "core/short_string.h"

namespace morven {

// 1-based position of the first occurrence of ch outside quotes, parentheses and
// brackets, or 0. "@" opens a parenthesis level like "(" (a function call's
// arguments end with ")"); the code byte after it is examined like any character.
size_t FindTopLevel(char ch, std::string_view text);

// Replaces every occurrence of pattern, left to right; replacements are not searched
// again. The result is cut at 255 bytes.
ShortString ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement);

// Removes bytes below 0x21 from both ends.
std::string_view TrimBlanks(std::string_view text);

// Upper case for the Windows ANSI letters: a-z, 0xE0-0xF6 and 0xF8-0xFE move down by
// 0x20; every other byte (0xDF, 0xF7, 0xFF among them) stays.
char UpperChar(char c);
void UpperText(ShortString& text);

}  // namespace morven
