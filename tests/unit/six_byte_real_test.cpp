#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "functions/six_byte_real.h"

namespace morven {
namespace {

TEST(SixByteReal, StoredLayout) {
  struct Case {
    double value;
    uint8_t bytes[6];
  } cases[] = {
      {0.0, {0, 0, 0, 0, 0, 0}},
      {1.0, {0x81, 0, 0, 0, 0, 0x00}},
      {-1.0, {0x81, 0, 0, 0, 0, 0x80}},
      {0.5, {0x80, 0, 0, 0, 0, 0x00}},
      {3.0, {0x82, 0, 0, 0, 0, 0x40}},   // 1.1b x 2^1
      {-10.0, {0x84, 0, 0, 0, 0, 0xA0}},  // 1.01b x 2^3, negative
  };
  for (const Case& c : cases) {
    SixByteReal real;
    ASSERT_TRUE(ToSixByteReal(c.value, real)) << c.value;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(real.bytes[i], c.bytes[i]) << c.value << " byte " << i;
    EXPECT_EQ(static_cast<double>(FromSixByteReal(real)), c.value);
  }
}

TEST(SixByteReal, RoundsTo40BitsHalvesAwayFromZero) {
  long double r = 0;
  const long double ulp = std::ldexp(1.0L, -39);  // the step just above 1.0
  ASSERT_TRUE(RoundToSixByteReal(1.0L + ulp / 2, r));
  EXPECT_EQ(r, 1.0L + ulp);  // a tie goes away from zero
  ASSERT_TRUE(RoundToSixByteReal(-(1.0L + ulp / 2), r));
  EXPECT_EQ(r, -(1.0L + ulp));
  ASSERT_TRUE(RoundToSixByteReal(1.0L + ulp / 4, r));
  EXPECT_EQ(r, 1.0L);
  ASSERT_TRUE(RoundToSixByteReal(0.99999999999999, r));
  EXPECT_EQ(r, 1.0L);  // carries into the exponent
  ASSERT_TRUE(RoundToSixByteReal(0.1, r));
  EXPECT_NE(r, 0.1L);
  EXPECT_NEAR(static_cast<double>(r), 0.1, 1e-12);
}

TEST(SixByteReal, Limits) {
  long double r = 1;
  ASSERT_TRUE(RoundToSixByteReal(std::ldexp(1.0, -129), r));
  EXPECT_EQ(r, 0.0L);  // below 2^-128 becomes 0
  ASSERT_TRUE(RoundToSixByteReal(std::ldexp(1.0, -128), r));
  EXPECT_EQ(r, std::ldexp(1.0L, -128));
  EXPECT_TRUE(RoundToSixByteReal(std::ldexp(1.0L, 127) * (1 - std::ldexp(1.0L, -40)), r));  // the largest
  EXPECT_FALSE(RoundToSixByteReal(std::ldexp(1.0L, 127) * (1 - std::ldexp(1.0L, -42)), r));  // rounds up to 2^127
  EXPECT_FALSE(RoundToSixByteReal(std::ldexp(1.0, 127), r));
  EXPECT_FALSE(RoundToSixByteReal(std::numeric_limits<double>::infinity(), r));
  EXPECT_FALSE(RoundToSixByteReal(std::nan(""), r));
}

// The fast path on a double's bits and the general extended path agree everywhere.
TEST(SixByteReal, DoublePathMatchesExtendedPath) {
  std::mt19937_64 random(12345);
  for (int i = 0; i < 200000; ++i) {
    uint64_t bits = random();
    if (i % 3 == 0) bits &= ~((uint64_t{1} << 13) - 1) | (uint64_t{1} << 12);  // exact ties
    double x;
    std::memcpy(&x, &bits, sizeof x);
    double fast = 0;
    long double general = 0;
    bool fast_ok = RoundToSixByteReal(x, fast);
    bool general_ok = RoundToSixByteReal(static_cast<long double>(x), general);
    ASSERT_EQ(fast_ok, general_ok) << x;
    if (fast_ok) ASSERT_EQ(static_cast<long double>(fast), general) << x;
  }
}

TEST(FloatToLong, RoundsThenTruncates) {
  struct Case {
    double value;
    int32_t result;
  } cases[] = {
      {0.99999999999999, 1}, {2147483648.0, 0}, {-2.7, -2},     {2.7, 2},
      {2147483647.0, 2147483647}, {-2147483647.0, -2147483647}, {-2147483648.0, 0},
      {1e300, 0},            {std::nan(""), 0},  {0.5, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToLong(c.value), c.result) << c.value;
}

}  // namespace
}  // namespace morven
