#pragma once
// The line-drawing characters of the text screen's OEM font, drawn as strokes so that
// lines of neighbouring cells meet exactly, whatever the host's fonts look like.
#include <cstdint>
#include <vector>

namespace morven::platform {

// Each arm of a line-drawing character, from the cell's centre to one edge:
// 0 none, 1 single line, 2 double line.
struct BoxGlyph {
  char32_t code;
  uint8_t up, down, left, right;
};

// The glyph of a code point of the box-drawing block (U+2500..U+256C) that code pages
// 437 and 850 have, or nullptr.
const BoxGlyph* FindBoxGlyph(char32_t code);

// One stroke, one pixel wide: a horizontal one on row `at` from column `from` to `to`
// (both included), or a vertical one on column `at` from row `from` to `to`; all
// relative to the cell's top-left corner.
struct BoxStroke {
  bool horizontal;
  int32_t at;
  int32_t from;
  int32_t to;
};

// The strokes of a glyph in a cell of width x height pixels. A single line runs
// through the centre (width / 2, height / 2), a double line one pixel either side;
// where arms meet, each line ends where it meets the lines across it.
std::vector<BoxStroke> BoxStrokes(const BoxGlyph& glyph, int32_t width, int32_t height);

// The code point the OEM font draws for a byte: code page 850, except that 184, 190,
// 212 and 213 — letters in code page 850 — are the corners with double horizontal
// and single vertical lines (╕ ╛ ╘ ╒), which the text box of style 2 uses.
char32_t OemFontCodePoint(uint8_t byte);

}  // namespace morven::platform
