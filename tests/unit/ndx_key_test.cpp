// NDX key texts: what becomes a numeric key and how stored keys compare.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/dbase_ndx_key.h"

namespace morven {
namespace {

double AsDouble(const std::string& key) {
  double d;
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<uint8_t>(key[static_cast<size_t>(i)]);
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

TEST(NdxKey, NumericTexts) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"", true, 0},          {"   ", true, 0},       {"  12", true, 12},      {"-3.5", true, -3.5},
      {"+7", true, 7},        {"1E3", true, 1000},     {"2.5e-1", true, 0.25},  {"20240131", true, 20240131},
      {".5", true, 0.5},      {"5.", true, 5},         {"0.1", true, 0.1},      {"1e-400", true, 0},
      {"12 ", false, 0},      {"1,5", false, 0},       {"abc", false, 0},       {"1-2", false, 0},
      {"-", false, 0},        {".", false, 0},         {"1E", false, 0},        {"1e999", false, 0},
      {"--1", false, 0},      {"1.2.3", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string key;
    ASSERT_EQ(NormalizeKey(c.text, true, true, 8, key), c.ok);
    if (c.ok) {
      ASSERT_EQ(key.size(), 8u);
      EXPECT_EQ(AsDouble(key), c.value);
    }
  }
}

TEST(NdxKey, CharacterKeysPadInFullModeOnly) {
  std::string key;
  NormalizeKey("AB", false, true, 5, key);
  EXPECT_EQ(key, "AB   ");
  NormalizeKey("ABCDEFG", false, true, 5, key);
  EXPECT_EQ(key, "ABCDE");
  NormalizeKey("AB", false, false, 5, key);
  EXPECT_EQ(key, "AB");
}

TEST(NdxKey, NumericOrderFollowsTheValue) {
  const char* ascending[] = {"-1E10", "-2", "-1.5", "-0.25", "0", "0.25", "1", "1.5", "2", "1E10"};
  for (size_t i = 0; i + 1 < std::size(ascending); ++i) {
    std::string a, b;
    NormalizeKey(ascending[i], true, true, 8, a);
    NormalizeKey(ascending[i + 1], true, true, 8, b);
    SCOPED_TRACE(std::string(ascending[i]) + " < " + ascending[i + 1]);
    EXPECT_LT(CompareKey(reinterpret_cast<const uint8_t*>(a.data()), 8, b, true), 0);
    EXPECT_GT(CompareKey(reinterpret_cast<const uint8_t*>(b.data()), 8, a, true), 0);
    EXPECT_EQ(CompareKey(reinterpret_cast<const uint8_t*>(a.data()), 8, a, true), 0);
  }
}

TEST(NdxKey, CharacterComparisonCutsTheStoredKey) {
  auto cmp = [](const char* stored, const char* search) {
    return CompareKey(reinterpret_cast<const uint8_t*>(stored), std::strlen(stored), search, false);
  };
  EXPECT_EQ(cmp("MEIER", "ME"), 0);   // a prefix matches
  EXPECT_LT(cmp("ME", "MEIER"), 0);   // the shorter is lower
  EXPECT_GT(cmp("MU", "ME"), 0);
  EXPECT_LT(cmp("Me", "ME") > 0 ? -1 : 1, 0);  // lower case sorts above upper case
  EXPECT_GT(cmp("\xE4", "z"), 0);     // unsigned bytes
  EXPECT_EQ(cmp("ABC", ""), 0);
}

}  // namespace
}  // namespace morven
