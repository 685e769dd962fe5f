#include "functions/six_byte_real.h"

#include <cmath>
#include <cstring>

namespace morven {
namespace {

constexpr int kSignificantBits = 40;
constexpr int kExponentBias = 129;

}  // namespace

bool ToSixByteReal(long double x, SixByteReal& out) {
  if (!std::isfinite(x)) return false;
  if (x == 0) {
    out = SixByteReal{};
    return true;
  }
  int exponent = 0;
  long double mantissa = std::frexp(std::fabs(x), &exponent);  // [0.5, 1)
  // 40 bits of mantissa; with the extended format's 64 bits, adding one half is exact.
  long double scaled = std::floor(std::ldexp(mantissa, kSignificantBits) + 0.5L);
  if (scaled >= std::ldexp(1.0L, kSignificantBits)) {
    scaled = std::ldexp(1.0L, kSignificantBits - 1);
    ++exponent;
  }
  // x = (scaled / 2^39) * 2^(exponent - 1), so the exponent byte is exponent + 128.
  int exponent_byte = exponent - 1 + kExponentBias;
  if (exponent_byte < 1) {
    out = SixByteReal{};
    return true;
  }
  if (exponent_byte > 255) return false;
  auto fraction = static_cast<uint64_t>(scaled) - (uint64_t{1} << (kSignificantBits - 1));
  out.bytes[0] = static_cast<uint8_t>(exponent_byte);
  for (int i = 1; i <= 5; ++i) out.bytes[i] = static_cast<uint8_t>(fraction >> (8 * (i - 1)));
  if (x < 0) out.bytes[5] |= 0x80;
  return true;
}

long double FromSixByteReal(const SixByteReal& real) {
  if (real.bytes[0] == 0) return 0;
  uint64_t fraction = 0;
  for (int i = 5; i >= 1; --i) fraction = (fraction << 8) | real.bytes[i];
  bool negative = (fraction & (uint64_t{1} << 39)) != 0;
  fraction &= (uint64_t{1} << 39) - 1;
  long double significand = static_cast<long double>(fraction | (uint64_t{1} << 39));
  long double value = std::ldexp(significand, real.bytes[0] - kExponentBias - (kSignificantBits - 1));
  return negative ? -value : value;
}

bool RoundToSixByteReal(long double x, long double& rounded) {
  SixByteReal real;
  if (!ToSixByteReal(x, real)) return false;
  rounded = FromSixByteReal(real);
  return true;
}

bool RoundToSixByteReal(double x, double& rounded) {
  // On the bits of the double: round its 52 fraction bits to 39 (halves away from
  // zero in magnitude; a carry moves into the exponent), the same as the general path.
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  const uint64_t sign = bits & (uint64_t{1} << 63);
  uint64_t magnitude = bits & ~(uint64_t{1} << 63);
  constexpr uint64_t kDropped = 52 - 39;
  constexpr uint64_t kExponentMask = uint64_t{0x7FF} << 52;
  if ((magnitude & kExponentMask) == kExponentMask) return false;  // infinite or not a number
  magnitude = (magnitude + (uint64_t{1} << (kDropped - 1))) & ~((uint64_t{1} << kDropped) - 1);
  const int exponent = static_cast<int>(magnitude >> 52) - 1023;
  if (exponent >= 127) return false;
  if (exponent < -128) magnitude = 0;
  bits = sign | magnitude;
  std::memcpy(&rounded, &bits, sizeof rounded);
  if (magnitude == 0) rounded = 0.0;
  return true;
}

int32_t FloatToLong(double x) {
  double rounded = 0;
  if (!RoundToSixByteReal(x, rounded)) return 0;
  if (std::fabs(rounded) > 2147483647.0L) return 0;
  return static_cast<int32_t>(std::trunc(rounded));
}

}  // namespace morven
