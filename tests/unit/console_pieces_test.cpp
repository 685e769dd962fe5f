// Pure pieces of the console: keys and characters, line-drawing strokes, window
// frames, colour values.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "console/main_window.h"
#include "functions/colours.h"
#include "platform/box_glyphs.h"
#include "platform/keys.h"
#include "platform/window.h"

namespace morven {
namespace {

using namespace platform;

TEST(Keys, TypedCharactersAndTheirKeys) {
  struct Case {
    char ch;
    uint8_t vk;
    bool shift, control;
  };
  const Case cases[] = {
      {'a', 'A', false, false}, {'Z', 'Z', true, false},     {'7', '7', false, false},
      {'!', '1', true, false},  {')', '0', true, false},     {' ', kVkSpace, false, false},
      {'\r', kVkReturn, false, false}, {'\b', kVkBack, false, false}, {'\t', kVkTab, false, false},
      {'\x1b', kVkEscape, false, false}, {'\x03', 'C', false, true}, {';', kVkOem1, false, false},
      {':', kVkOem1, true, false}, {'"', kVkOem7, true, false}, {'\xFC', kVkPacket, false, false},
  };
  for (const Case& c : cases) {
    KeyOfChar k = KeyForChar(static_cast<uint8_t>(c.ch));
    EXPECT_EQ(k.vk, c.vk) << c.ch;
    EXPECT_EQ(k.shift, c.shift) << c.ch;
    EXPECT_EQ(k.control, c.control) << c.ch;
  }
}

TEST(Keys, CharactersOfKeyDowns) {
  EXPECT_EQ(CharForKey('A', false, false), 'a');
  EXPECT_EQ(CharForKey('A', true, false), 'A');
  EXPECT_EQ(CharForKey('C', false, true), 3);
  EXPECT_EQ(CharForKey(kVkReturn, false, false), '\r');
  EXPECT_EQ(CharForKey(kVkNumpad0 + 4, false, false), '4');
  EXPECT_EQ(CharForKey(kVkF1, false, false), -1);
  EXPECT_EQ(CharForKey(kVkLeft, false, false), -1);
  EXPECT_EQ(CharForKey(kVkCancel, false, false), -1);
  // Every printable ASCII character comes back from its own key.
  for (int ch = 0x20; ch < 0x7F; ++ch) {
    KeyOfChar k = KeyForChar(static_cast<uint8_t>(ch));
    EXPECT_EQ(CharForKey(k.vk, k.shift, k.control), ch) << static_cast<char>(ch);
  }
  EXPECT_TRUE(IsSystemKey(kVkMenu));
  EXPECT_TRUE(IsSystemKey(kVkF10));
  EXPECT_FALSE(IsSystemKey(kVkF4));
}

// The pixels a glyph sets in a 8 x 12 cell.
std::set<std::pair<int, int>> Pixels(char32_t code) {
  std::set<std::pair<int, int>> out;
  const BoxGlyph* g = FindBoxGlyph(code);
  if (g == nullptr) return out;
  for (const BoxStroke& s : BoxStrokes(*g, 8, 12))
    for (int i = s.from; i <= s.to; ++i) out.insert(s.horizontal ? std::pair{i, s.at} : std::pair{s.at, i});
  return out;
}

TEST(BoxGlyphs, LinesReachTheEdgesWhereTheirArmsPoint) {
  // Single lines through (4, 6); double lines at 3/5 and 5/7.
  auto h = Pixels(0x2500);  // ─
  EXPECT_EQ(h.size(), 8u);
  EXPECT_TRUE(h.count({0, 6}) && h.count({7, 6}));
  auto v = Pixels(0x2551);  // ║
  EXPECT_EQ(v.size(), 24u);
  EXPECT_TRUE(v.count({3, 0}) && v.count({5, 11}) && !v.count({4, 5}));
  auto corner = Pixels(0x2554);  // ╔: outer lines meet at (3, 5), inner at (5, 7)
  EXPECT_TRUE(corner.count({3, 5}) && corner.count({7, 5}) && corner.count({3, 11}));
  EXPECT_TRUE(corner.count({5, 7}) && corner.count({7, 7}) && corner.count({5, 11}));
  EXPECT_FALSE(corner.count({3, 4}) || corner.count({2, 5}) || corner.count({4, 6}));
  auto mixed = Pixels(0x2552);  // ╒: the single vertical joins both horizontal lines
  EXPECT_TRUE(mixed.count({4, 5}) && mixed.count({4, 11}) && !mixed.count({4, 4}));
  EXPECT_TRUE(mixed.count({4, 7}) && mixed.count({7, 5}) && mixed.count({7, 7}));
  auto cross = Pixels(0x256B);  // ╫: the double vertical passes, the single horizontal stops at it
  EXPECT_TRUE(cross.count({3, 6}) && cross.count({5, 6}) && cross.count({0, 6}) && cross.count({7, 6}));
  EXPECT_FALSE(cross.count({4, 6}));
  EXPECT_EQ(FindBoxGlyph(U'A'), nullptr);
}

TEST(BoxGlyphs, TheOemFontHasEveryCharacterOfTheBoxStyles) {
  const uint8_t box_bytes[] = {218, 191, 192, 217, 196, 179, 201, 187, 200, 188, 205, 186, 213, 184, 212, 190};
  for (uint8_t b : box_bytes) EXPECT_NE(FindBoxGlyph(OemFontCodePoint(b)), nullptr) << int(b);
  EXPECT_EQ(OemFontCodePoint('A'), U'A');
  EXPECT_EQ(OemFontCodePoint(0x81), U'\u00FC');  // ü of code page 850
}

TEST(Frames, NonClientParts) {
  struct Case {
    uint32_t style;
    bool menu;
    FrameMetrics expected;
  };
  const Case cases[] = {
      {0x000F0000 | 0x2000, true, {4, 19, 19}},   // the default main window
      {0x000B0000, false, {3, 19, 0}},            // no thick frame
      {0x00000000, false, {3, 19, 0}},            // an overlapped window always has a caption
      {kWsPopup, false, {0, 0, 0}},               // frameless popup
      {kWsPopup, true, {0, 0, 19}},
      {kWsPopup | kWsThickFrame, false, {4, 0, 0}},
      {kWsPopup | kWsCaption, false, {3, 19, 0}},
  };
  for (const Case& c : cases) {
    FrameMetrics f = FrameOf(c.style, c.menu);
    EXPECT_EQ(f.border, c.expected.border) << std::hex << c.style;
    EXPECT_EQ(f.caption, c.expected.caption) << std::hex << c.style;
    EXPECT_EQ(f.menu, c.expected.menu) << std::hex << c.style;
  }
}

TEST(Colours, ProgramColourValuesAsWindowsColours) {
  TrueColorMode = false;
  EXPECT_EQ(ToSystemColor(0), 0x000000u);
  EXPECT_EQ(ToSystemColor(31), 0x0000FFu);
  EXPECT_EQ(ToSystemColor(1), 0x00000Fu);
  EXPECT_EQ(ToSystemColor(31 * 32), 0x00FF00u);
  EXPECT_EQ(ToSystemColor(32767), 0xFFFFFFu);
  EXPECT_EQ(ToSystemColor(1024 * 16), 0x870000u);
  TrueColorMode = true;
  EXPECT_EQ(ToSystemColor(0x123456), 0x123456u);
  TrueColorMode = false;
}

}  // namespace
}  // namespace morven
