#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/text_ops.h"
#include "functions/string_functions.h"
#include "functions/string_key.h"

namespace morven {
namespace {

std::string Bytes(std::string_view s) { return std::string(s); }

TEST(CaseMapping, LowerAndUpperCoverTheAnsiLettersOnly) {
  struct Case {
    uint8_t byte;
    uint8_t lower;
    uint8_t upper;
  } cases[] = {
      {'A', 'a', 'A'},   {'Z', 'z', 'Z'},   {'a', 'a', 'A'},   {'@', '@', '@'},   {'[', '[', '['},
      {0xC0, 0xE0, 0xC0}, {0xC4, 0xE4, 0xC4}, {0xD6, 0xF6, 0xD6}, {0xDC, 0xFC, 0xDC}, {0xDE, 0xFE, 0xDE},
      {0xE4, 0xE4, 0xC4}, {0xFE, 0xFE, 0xDE},
      {0xD7, 0xD7, 0xD7},  // multiplication sign
      {0xF7, 0xF7, 0xF7},  // division sign
      {0xDF, 0xDF, 0xDF},  // sharp s
      {0xFF, 0xFF, 0xFF},  // y with diaeresis: its capital is not in the range
      {0x8A, 0x8A, 0x8A}, {0x9A, 0x9A, 0x9A},  // S and s with caron stay: no locale rules
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<uint8_t>(LowerChar(static_cast<char>(c.byte))), c.lower) << int(c.byte);
    EXPECT_EQ(static_cast<uint8_t>(UpperChar(static_cast<char>(c.byte))), c.upper) << int(c.byte);
  }
  // Exactly the letters that change one way change back the other way.
  for (int b = 0; b < 256; ++b) {
    char c = static_cast<char>(b);
    if (LowerChar(c) != c) {
      EXPECT_EQ(UpperChar(LowerChar(c)), c) << b;
    }
    if (UpperChar(c) != c) {
      EXPECT_EQ(LowerChar(UpperChar(c)), c) << b;
    }
  }
  ShortString text(std::string("Gr\xD6\xDF" "E 1"));
  LowerText(text);
  EXPECT_EQ(text.Str(), "gr\xF6\xDF" "e 1");
}

TEST(RepeatText, SkipsCopiesThatWouldReach255) {
  struct Case {
    std::string s;
    int32_t n;
    size_t length;
  } cases[] = {
      {std::string(100, 'x'), 3, 200}, {"a", 1000, 254},           {std::string(127, 'x'), 2, 254},
      {std::string(128, 'x'), 2, 128}, {std::string(255, 'x'), 1, 0}, {"ab", 0, 0},
      {"ab", -4, 0},                   {"", INT_MAX, 0},            {"abc", INT_MAX, 252},
  };
  for (const Case& c : cases) {
    ShortString r = RepeatText(c.s, c.n);
    EXPECT_EQ(r.length, c.length) << c.s.size() << " x " << c.n;
    for (size_t i = 0; i < r.length; ++i) ASSERT_EQ(r.bytes[i], c.s[i % c.s.size()]);
  }
}

TEST(Blanks, AtMost254) {
  struct Case {
    int32_t n;
    size_t length;
  } cases[] = {{3, 3}, {254, 254}, {300, 254}, {INT_MAX, 254}, {0, 0}, {-1, 0}};
  for (const Case& c : cases) {
    ShortString r = Blanks(c.n);
    EXPECT_EQ(r.Str(), std::string(c.length, ' ')) << c.n;
  }
}

TEST(FieldOf, SplitsAtTheSeparator) {
  struct Case {
    std::string s;
    int32_t n;
    std::string separator;
    std::string field;
  } cases[] = {
      {"a,b,c", 1, ",", "a"},  {"a,b,c", 3, ",", "c"},   {"a,b,c", 4, ",", ""},
      {"a,,b", 2, ",", ""},    {"a,,b", 3, ",", "b"},    {"abc", 1, ";", "abc"},
      {"abc", 2, ";", ""},     {"a--b--c", 2, "--", "b"}, {"a-b--c", 2, "--", "c"},
      {"abc", 1, "", "abc"},   {"abc", 2, "", ""},       {"a,b", INT_MAX, ",", ""},
      {",a", 1, ",", ""},      {"a,", 2, ",", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Bytes(FieldOf(c.s, c.n, c.separator)), c.field) << c.s << " " << c.n;
}

TEST(Substrings, MiddleDeleteInsert) {
  struct Middle {
    std::string s;
    int32_t position, count;
    std::string result;
  } middles[] = {
      {"abcdef", 3, 2, "cd"}, {"abc", 5, 1, ""},  {"abc", 2, 0, ""},   {"abc", 2, -1, ""},
      {"abc", 2, 99, "bc"},   {"abc", 3, 1, "c"}, {"abc", 4, 1, ""},   {"abc", INT_MAX, INT_MAX, ""},
  };
  for (const Middle& c : middles)
    EXPECT_EQ(Bytes(MiddleOf(c.s, c.position, c.count)), c.result) << c.s << " " << c.position << " " << c.count;

  struct Delete {
    std::string s;
    int32_t position, count;
    std::string result;
  } deletes[] = {
      {"abcdef", 2, 3, "aef"}, {"abc", 5, 1, "abc"}, {"abc", 2, 99, "a"},
      {"abc", 1, 0, "abc"},    {"abc", 1, -3, "abc"}, {"abc", 3, INT_MAX, "ab"},
  };
  for (const Delete& c : deletes)
    EXPECT_EQ(DeleteFrom(c.s, c.position, c.count).Str(), c.result) << c.s << " " << c.position << " " << c.count;

  struct Insert {
    std::string s, t;
    int32_t position;
    std::string result;
  } inserts[] = {
      {"X", "abc", 2, "aXbc"}, {"X", "abc", 9, "abcX"}, {"X", "abc", 1, "Xabc"},
      {"X", "abc", 4, "abcX"}, {"X", "", 1, "X"},       {"", "abc", 2, "abc"},
  };
  for (const Insert& c : inserts) EXPECT_EQ(InsertInto(c.s, c.t, c.position).Str(), c.result) << c.position;
  ShortString cut = InsertInto(std::string(200, 'x'), std::string(100, 'y'), 50);
  EXPECT_EQ(cut.Str(), std::string(49, 'y') + std::string(200, 'x') + std::string(6, 'y'));
}

TEST(PositionOf, SearchedTextComesSecond) {
  struct Case {
    std::string needle, text;
    int32_t position;
  } cases[] = {{"b", "abc", 2}, {"", "abc", 0}, {"d", "abc", 0}, {"abc", "ab", 0}, {"c", "abcabc", 3}, {"bc", "abcabc", 2}};
  for (const Case& c : cases) EXPECT_EQ(PositionOf(c.needle, c.text), c.position) << c.needle << " in " << c.text;
}

TEST(CompareBytes, UnsignedBytesAndPrefixesFirst) {
  struct Case {
    std::string a, b;
    int sign;
  } cases[] = {
      {"abc", "abd", -1}, {"ab", "abc", -1}, {"a", "B", 1},    {"abc", "abc", 0},
      {"\xE4", "z", 1},   {"", "a", -1},     {"", "", 0},      {"a\x01", "a", 1},
  };
  for (const Case& c : cases) {
    int r = CompareBytes(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
}

TEST(StringKey, TableKeepsTheTwoLowBitsInTheHighPositions) {
  EXPECT_TRUE(StringKeyTable("").Empty());
  ShortString table = StringKeyTable("ABCD");  // 65, 66, 67, 68: low bits 1, 2, 3, 0
  ASSERT_EQ(table.length, 255);
  const uint8_t expected[4] = {0x40, 0x80, 0xC0, 0x00};
  for (size_t i = 0; i < table.length; ++i) ASSERT_EQ(static_cast<uint8_t>(table.bytes[i]), expected[i % 4]) << i;
}

TEST(StringKey, ChangesTheHighBitsWithTheTableFromItsEnd) {
  ShortString one_a(std::string("\x41\x01"));
  ApplyStringKey(one_a, StringKeyTable("A"));
  EXPECT_EQ(one_a.Str(), "\x01\x41");

  // "ADD": table bytes 0x40 at indexes divisible by 3, else 0. The first text byte
  // meets index 254, the third index 252.
  ShortString text("AAA");
  ApplyStringKey(text, StringKeyTable("ADD"));
  EXPECT_EQ(text.Str(), "AA\x01");

  ShortString unchanged("AAA");
  ApplyStringKey(unchanged, ShortString());
  EXPECT_EQ(unchanged.Str(), "AAA");

  std::string all;
  for (int i = 0; i < 255; ++i) all += static_cast<char>(i * 7 + 3);
  ShortString round(all);
  const ShortString key = StringKeyTable("Geheim!");
  ApplyStringKey(round, key);
  EXPECT_NE(round.Str(), all);
  for (size_t i = 0; i < round.length; ++i) ASSERT_EQ(round.bytes[i] & 0x3F, all[i] & 0x3F) << i;
  ApplyStringKey(round, key);
  EXPECT_EQ(round.Str(), all);
}

}  // namespace
}  // namespace morven
