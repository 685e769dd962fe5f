#pragma once
// The operations behind the string functions, on byte strings of at most 255 bytes.
// Positions count from 1; callers have already rejected positions below 1.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"

namespace morven {

// Lower case for the Windows ANSI letters: A-Z, 0xC0-0xD6 and 0xD8-0xDE move up by
// 0x20; every other byte (0xD7, 0xDF among them) stays. Not locale dependent; the
// counterpart of UpperChar.
char LowerChar(char c);
void LowerText(ShortString& text);

// 0x39: s appended n times, skipping every copy that would make the text 255 bytes or
// longer.
ShortString RepeatText(std::string_view s, int32_t n);

// 0x3A: n blanks, at most 254.
ShortString Blanks(int32_t n);

// 0x7E: field n (from 1) of s split at separator; empty past the last field. A
// separator that does not occur (or is empty) makes s its only field.
std::string_view FieldOf(std::string_view s, int32_t n, std::string_view separator);

// 0x93: count bytes from position (fewer at the end of s, none for count <= 0).
std::string_view MiddleOf(std::string_view s, int32_t position, int32_t count);

// 0x94: s without count bytes from position.
ShortString DeleteFrom(std::string_view s, int32_t position, int32_t count);

// 0x95: t with s inserted before position; past the end of t, s is appended.
ShortString InsertInto(std::string_view s, std::string_view t, int32_t position);

// 0x97: position of the first occurrence of needle in text, 0 when there is none or
// needle is empty.
int32_t PositionOf(std::string_view needle, std::string_view text);

// 0x8F, 0x90: byte order by unsigned value, a prefix first. <0, 0, >0.
int CompareBytes(std::string_view a, std::string_view b);

// 0xBE, 0xBF: the text through the fixed ANSI/OEM pair, byte by byte.
void AnsiToOemText(ShortString& text);
void OemToAnsiText(ShortString& text);

}  // namespace morven
