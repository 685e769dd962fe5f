#include "platform/box_glyphs.h"

#include <algorithm>

#include "platform/codepage.h"

namespace morven::platform {
namespace {

constexpr BoxGlyph kGlyphs[] = {
    {0x2500, 0, 0, 1, 1}, {0x2502, 1, 1, 0, 0}, {0x250C, 0, 1, 0, 1}, {0x2510, 0, 1, 1, 0},
    {0x2514, 1, 0, 0, 1}, {0x2518, 1, 0, 1, 0}, {0x251C, 1, 1, 0, 1}, {0x2524, 1, 1, 1, 0},
    {0x252C, 0, 1, 1, 1}, {0x2534, 1, 0, 1, 1}, {0x253C, 1, 1, 1, 1}, {0x2550, 0, 0, 2, 2},
    {0x2551, 2, 2, 0, 0}, {0x2552, 0, 1, 0, 2}, {0x2553, 0, 2, 0, 1}, {0x2554, 0, 2, 0, 2},
    {0x2555, 0, 1, 2, 0}, {0x2556, 0, 2, 1, 0}, {0x2557, 0, 2, 2, 0}, {0x2558, 1, 0, 0, 2},
    {0x2559, 2, 0, 0, 1}, {0x255A, 2, 0, 0, 2}, {0x255B, 1, 0, 2, 0}, {0x255C, 2, 0, 1, 0},
    {0x255D, 2, 0, 2, 0}, {0x255E, 1, 1, 0, 2}, {0x255F, 2, 2, 0, 1}, {0x2560, 2, 2, 0, 2},
    {0x2561, 1, 1, 2, 0}, {0x2562, 2, 2, 1, 0}, {0x2563, 2, 2, 2, 0}, {0x2564, 0, 1, 2, 2},
    {0x2565, 0, 2, 1, 1}, {0x2566, 0, 2, 2, 2}, {0x2567, 1, 0, 2, 2}, {0x2568, 2, 0, 1, 1},
    {0x2569, 2, 0, 2, 2}, {0x256A, 1, 1, 2, 2}, {0x256B, 2, 2, 1, 1}, {0x256C, 2, 2, 2, 2},
};

// Where one line of an arm starts, as a step from the centre toward the arm (+1), at
// the centre (0) or away from it (-1). offset is the line's side (-1, 0, +1 across the
// arm); across_before and across_after are the arms across it on those sides.
int InnerStep(int offset, uint8_t across_before, uint8_t across_after) {
  uint8_t widest = std::max(across_before, across_after);
  if (offset == 0) {
    if (widest < 2) return 0;
    // A single line meets a double one: it stops at the near line when the double
    // line passes through, and reaches the far line when it only starts here.
    return across_before != 0 && across_after != 0 ? +1 : -1;
  }
  uint8_t blocking = offset < 0 ? across_before : across_after;
  if (blocking == 2) return +1;
  return widest == 2 ? -1 : 0;
}

void AddArm(std::vector<BoxStroke>& out, bool horizontal, int direction, uint8_t style, uint8_t across_before,
            uint8_t across_after, int32_t width, int32_t height) {
  if (style == 0) return;
  int32_t centre_along = horizontal ? width / 2 : height / 2;
  int32_t centre_across = horizontal ? height / 2 : width / 2;
  int32_t edge = direction > 0 ? (horizontal ? width : height) - 1 : 0;
  const int offsets_single[] = {0};
  const int offsets_double[] = {-1, +1};
  const int* offsets = style == 1 ? offsets_single : offsets_double;
  int count = style == 1 ? 1 : 2;
  for (int i = 0; i < count; ++i) {
    int offset = offsets[i];
    int32_t start = centre_along + direction * InnerStep(offset, across_before, across_after);
    out.push_back(BoxStroke{horizontal, centre_across + offset, std::min(start, edge), std::max(start, edge)});
  }
}

}  // namespace

const BoxGlyph* FindBoxGlyph(char32_t code) {
  for (const BoxGlyph& g : kGlyphs)
    if (g.code == code) return &g;
  return nullptr;
}

std::vector<BoxStroke> BoxStrokes(const BoxGlyph& g, int32_t width, int32_t height) {
  std::vector<BoxStroke> out;
  AddArm(out, true, +1, g.right, g.up, g.down, width, height);
  AddArm(out, true, -1, g.left, g.up, g.down, width, height);
  AddArm(out, false, +1, g.down, g.left, g.right, width, height);
  AddArm(out, false, -1, g.up, g.left, g.right, width, height);
  return out;
}

char32_t OemFontCodePoint(uint8_t byte) {
  switch (byte) {
    case 184: return 0x2555;
    case 190: return 0x255B;
    case 212: return 0x2558;
    case 213: return 0x2552;
    default: return Cp850ToUnicode(byte);
  }
}

}  // namespace morven::platform
