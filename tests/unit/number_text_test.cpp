#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/number_text.h"

namespace morven {
namespace {

TEST(FormatFloat, FixedScientificAndSpecialValues) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    int32_t width;
    int32_t decimals;
    std::string text;
  } cases[] = {
      {3.14159, 8, 2, "    3.14"},
      {3.14159, 0, 6, "3.141590"},
      {2.5, 0, 0, "3"},           // halves away from zero
      {-2.5, 0, 0, "-3"},
      {0.125, 0, 2, "0.13"},
      {0.994, 0, 2, "0.99"},
      {0.995, 0, 2, "0.99"},      // 0.995 is slightly below its decimal text
      {9.9999, 0, 2, "10.00"},
      {-0.001, 0, 2, "-0.00"},
      {0.0, 0, 3, "0.000"},
      {123456789.0, 0, 0, "123456789"},
      {1e35, 0, 0, "99999999999999996900000000000000000"},  // 18 significant digits
      {0.1, 0, 20, "0.10000000000000000600"},
      {1e36, 0, 2, " 1.0E+0036"},  // from 1E36 on the scientific form
      {1234.5678, 16, -1, " 1.2345678E+0003"},
      {-1234.5678, 12, -1, "-1.235E+0003"},
      {0.00012, 0, -1, " 1.2E-0004"},  // at least two significant digits
      {0.0, 10, -1, " 0.0E+0000"},
      {1.0, 30, -1, "     1.00000000000000000E+0000"},  // at most 18
      {std::nan(""), 0, 6, "Nan"},
      {inf, 6, 6, "  +Inf"},
      {-inf, 0, 6, "-Inf"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.value, c.width, c.decimals).Str(), c.text)
        << c.value << " w=" << c.width << " d=" << c.decimals;
}

TEST(FormatFloat, LongTextsAreCutAt255Bytes) {
  ShortString text = FormatFloat(1.5, 0, 400);
  EXPECT_EQ(text.length, 255);
  EXPECT_EQ(text.Str().substr(0, 5), "1.500");
  EXPECT_EQ(FormatFloat(-1e35, 300, 2).length, 255);
}

TEST(FormatInteger, PadsToTheWidth) {
  EXPECT_EQ(FormatInteger(42, 8).Str(), "      42");
  EXPECT_EQ(FormatInteger(-7, 0).Str(), "-7");
  EXPECT_EQ(FormatInteger(-2147483647 - 1, 3).Str(), "-2147483648");
}

TEST(IntegerPrefix, Cases) {
  struct Case {
    std::string text;
    int32_t value;
  } cases[] = {
      {"12abc", 12},        {"  -34", -34},        {"+5", 5},
      {"$1F", 31},          {"$ffffffff", -1},     {"-$10", -16},
      {"abc", 0},           {"", 0},               {"\t5", 0},  // only blanks are skipped
      {"2147483647", 2147483647},
      {"2147483648", 214748364},  // the digit that would overflow ends the reading
      {"-2147483648", -2147483647 - 1},
      {"$123456789", 0x12345678},
  };
  for (const Case& c : cases) EXPECT_EQ(IntegerPrefix(c.text), c.value) << c.text;
}

TEST(FloatParse, AcceptsOnlyTheWholeNumberForm) {
  struct Case {
    std::string text;
    bool ok;
    double value;
  } cases[] = {
      {"1.5", true, 1.5},     {"  -2", true, -2.0},   {"1E3", true, 1000.0},
      {"1e-2", true, 0.01},   {".5", true, 0.5},      {"5.", true, 5.0},
      {"+7.25E+1", true, 72.5},
      {"1.5 kg", false, 1.5},  // the longest well-formed prefix
      {"1.5 ", false, 1.5},   {"", false, 0.0},      {"abc", false, 0.0},
      {"1E", false, 1.0},     {"$10", false, 0.0},   {"1E999", false, 0.0},
      {"inf", false, 0.0},    {"0x10", false, 0.0},
  };
  for (const Case& c : cases) {
    double value = -99;
    EXPECT_EQ(FloatParse(c.text, value), c.ok) << c.text;
    EXPECT_DOUBLE_EQ(value, c.value) << c.text;
  }
}

}  // namespace
}  // namespace morven
