#pragma once
// The 6-byte real through which arithmetic, comparison and rounding operands pass:
// 40 significant bits (a hidden leading one and 39 stored fraction bits) and an
// 8-bit exponent with bias 129; exponent byte 0 is the value 0.
// Stored layout, byte 0 first: exponent, then the fraction least significant byte
// first; the top bit of byte 5 is the sign.
#include <cstdint>

namespace morven {

struct SixByteReal {
  uint8_t bytes[6] = {0, 0, 0, 0, 0, 0};
};

// Rounds x to the format: dropped bits to nearest, ties away from zero; magnitudes
// below 2^-128 become 0. False (and out unchanged) when |x| >= 2^127 after rounding,
// or x is not a number or infinite: the format cannot hold it.
bool ToSixByteReal(long double x, SixByteReal& out);

long double FromSixByteReal(const SixByteReal& real);

// x as it comes back from the format; false when the format cannot hold it.
bool RoundToSixByteReal(long double x, long double& rounded);
// The same for a double, computed on its bits.
bool RoundToSixByteReal(double x, double& rounded);

// The long form of a float: rounded to the 6-byte real, then truncated toward zero;
// 0 when the magnitude is above 2147483647 (or the format cannot hold the value).
int32_t FloatToLong(double x);

}  // namespace morven
