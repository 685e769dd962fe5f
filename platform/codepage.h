#pragma once
// Windows-1252 ("ANSI"), the code page of program text, and UTF-8, the host's.
// Conversions happen only at the boundary to the host (file names, logs, screen).
#include <cstdint>
#include <string>
#include <string_view>

namespace morven::platform {

// The Unicode code point of a Windows-1252 byte. The five bytes that the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, as Windows itself converts them, so that every byte survives a round trip.
char32_t Cp1252ToUnicode(uint8_t byte);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int UnicodeToCp1252(char32_t code_point);

std::string Cp1252ToUtf8(std::string_view text);

// Converts UTF-8 to Windows-1252. Returns false (and leaves out undecodable input)
// when the text is not valid UTF-8 or holds a character outside the code page.
bool Utf8ToCp1252(std::string_view utf8, std::string& out);

// Appends one code point to a UTF-8 string.
void AppendUtf8(std::string& out, char32_t code_point);

// Decodes one UTF-8 sequence at text[pos]; advances pos. Returns U+FFFFFFFF on bad input.
char32_t DecodeUtf8(std::string_view text, size_t& pos);

// The OEM code page that goes with Windows-1252 is code page 850. The pair converts
// byte by byte with fixed tables: bytes below 0x80 stay; a character that both pages
// have changes its byte; a character the other page lacks becomes a look-alike
// (typographic quotes and dashes, letters with a caron, box-drawing lines) or "?".
uint8_t AnsiToOem(uint8_t byte);
uint8_t OemToAnsi(uint8_t byte);

// The Unicode code point of a code page 850 byte.
char32_t Cp850ToUnicode(uint8_t byte);

}  // namespace morven::platform
