// The numeric functions. Operands of the arithmetic, comparison and rounding
// functions pass through the 6-byte real; the computation is done in extended
// precision and the result stored as a double.
#include <cmath>
#include <cstdint>
#include <ctime>
#include <sys/time.h>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "errors/run_error.h"
#include "functions/colours.h"
#include "functions/function_table.h"
#include "functions/numeric_functions.h"
#include "functions/six_byte_real.h"

namespace morven {

bool TrueColorMode = false;
uint32_t RandomSeed = 0;

namespace {

// One argument as the functions use it: its forms right after it was read.
struct Operand {
  int32_t integer;
  int32_t long_form;
  double floating;
};

Operand Read(char context, uint8_t kind = kKindAny) {
  ReadArgument(context, kind);
  return {IntValue, LongValue, FloatValue};
}

// An operand rounded to the 6-byte real; one the format cannot hold is message 200.
long double Rounded(double x) {
  double r = 0;
  if (!RoundToSixByteReal(x, r)) RunError(200, "");
  return r;
}

// An intermediate result in extended precision rounded to the 6-byte real.
long double RoundedExtended(long double x) {
  long double r = 0;
  if (!RoundToSixByteReal(x, r)) RunError(200, "");
  return r;
}

int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// A float result: FloatValue, and its long form.
void FloatResult(long double value) {
  double stored = static_cast<double>(value);
  if (std::isnan(stored) || std::isinf(stored)) RunError(200, "");
  FloatValue = stored;
  LongValue = FloatToLong(stored);
  ValueType = kTypeFloat;
}


enum class Arithmetic { Add, Subtract, Multiply, Divide };

void ArithmeticFunction(Arithmetic op) {
  Operand a = Read(',');
  Operand b = Read(')');
  long double x = Rounded(a.floating);
  long double y = Rounded(b.floating);
  int64_t lx = a.long_form, ly = b.long_form;
  switch (op) {
    case Arithmetic::Add:
      FloatResult(x + y);
      LongValue = Wrap(lx + ly);
      break;
    case Arithmetic::Subtract:
      FloatResult(x - y);
      LongValue = Wrap(lx - ly);
      break;
    case Arithmetic::Multiply:
      FloatResult(x * y);
      LongValue = Wrap(lx * ly);
      break;
    case Arithmetic::Divide:
      if (y == 0) RunError(201, "");
      FloatResult(x / y);
      LongValue = ly == 0 ? 0 : Wrap(lx / ly);
      break;
  }
}

void Add() { ArithmeticFunction(Arithmetic::Add); }
void Subtract() { ArithmeticFunction(Arithmetic::Subtract); }
void Multiply() { ArithmeticFunction(Arithmetic::Multiply); }
void Divide() { ArithmeticFunction(Arithmetic::Divide); }

void IntegerDivide() {
  int64_t n = Read(',').long_form;
  int64_t m = Read(')').long_form;
  if (m == 0) RunError(201, "");
  IntegerResult(Wrap(n / m), kTypeLong);
}

void Remainder() {
  int64_t n = Read(',').long_form;
  int64_t m = Read(')').integer;
  if (m == 0) RunError(201, "");
  IntegerResult(Wrap(n % m), kTypeFloat);  // C++'s % keeps the sign of n, as required
}

void BitAnd() {
  int32_t n = Read(',').long_form;
  int32_t m = Read(')').long_form;
  IntegerResult(n & m, kTypeLong);
}

void BitOr() {
  int32_t n = Read(',').long_form;
  int32_t m = Read(')').long_form;
  IntegerResult(n | m, kTypeFloat);
}

void BitXor() {
  int32_t n = Read(',').long_form;
  int32_t m = Read(')').long_form;
  IntegerResult(n ^ m, kTypeFloat);
}

uint32_t BitMask(int32_t b) { return 1u << (static_cast<uint32_t>(b) & 31u); }

void TestBit() {
  int32_t n = Read(',').long_form;
  int32_t b = Read(')').long_form;
  // Taken as a signed number, so bit 31 always tests as 0.
  IntegerResult(static_cast<int32_t>(static_cast<uint32_t>(n) & BitMask(b)) > 0 ? 1 : 0, kTypeInteger);
}

void ChangeBit() {
  int32_t n = Read(',').long_form;
  int32_t b = Read(',').long_form;
  int32_t f = Read(')').integer;
  uint32_t v = static_cast<uint32_t>(n);
  v = f > 0 ? v | BitMask(b) : v & ~BitMask(b);
  IntegerResult(static_cast<int32_t>(v), kTypeInteger);
}

enum class Comparison { NotEqual, Equal, Greater, Less };

void Compare(Comparison c) {
  long double x = Rounded(Read(',').floating);
  long double y = Rounded(Read(')').floating);
  double d = static_cast<double>(x - y);  // compared after it was stored as a double
  bool r = c == Comparison::NotEqual ? d != 0 : c == Comparison::Equal ? d == 0 : c == Comparison::Greater ? d > 0 : d < 0;
  IntegerResult(r ? 1 : 0, kTypeInteger);
}

void NotEqual() { Compare(Comparison::NotEqual); }
void Equal() { Compare(Comparison::Equal); }
void Greater() { Compare(Comparison::Greater); }
void Less() { Compare(Comparison::Less); }

void LogicalNot() { IntegerResult(Read(')').long_form == 0 ? 1 : 0, kTypeLong); }

void Absolute() {
  Operand a = Read(')');
  FloatResult(std::fabs(static_cast<long double>(a.floating)));
  LongValue = a.long_form < 0 ? Wrap(-static_cast<int64_t>(a.long_form)) : a.long_form;
}

// One-argument functions use FloatValue as it is.
template <long double (*F)(long double)>
void Unary() {
  FloatResult(F(Read(')').floating));
}

long double CosL(long double x) { return std::cos(x); }
long double SinL(long double x) { return std::sin(x); }
long double ExpL(long double x) { return std::exp(x); }
long double SquareL(long double x) { return x * x; }
long double AtanL(long double x) { return std::atan(x); }

void NaturalLog() {
  double x = Read(')').floating;
  if (x <= 0) RunError(200, "");  // the logarithm of 0 is not a number either
  FloatResult(std::log(static_cast<long double>(x)));
}

void DecimalLog() {
  double x = Read(')').floating;
  if (x <= 0) RunError(200, "");
  FloatResult(std::log(static_cast<long double>(x)) / std::log(10.0L));
}

void SquareRoot() {
  double x = Read(')').floating;
  if (x < 0) RunError(200, "");
  FloatResult(std::sqrt(static_cast<long double>(x)));
}

void Tangent() {
  long double x = Read(')').floating;
  if (std::cos(x) == 0) RunError(200, "");
  FloatResult(std::sin(x) / std::cos(x));
}

void Cotangent() {
  long double x = Read(')').floating;
  if (std::sin(x) == 0) RunError(200, "");
  FloatResult(std::cos(x) / std::sin(x));
}

void Power() {
  long double x = Rounded(Read(',').floating);
  long double y = Read(')').floating;
  if (x <= 0) RunError(200, "");
  FloatResult(std::exp(y * std::log(x)));
}

void Pi() { FloatResult(3.141592653589793); }

void IntegerPart() {
  LongValue = FloatToLong(Read(')').floating);
  FloatValue = LongValue;
  ValueType = kTypeLong;
}

void RoundToDecimals() {
  long double x = Rounded(Read(',').floating);
  int32_t d = Read(')').integer;
  long double p = RoundedExtended(std::exp(d * std::log(10.0L)));
  long double v = RoundedExtended(x * p);
  long double r = std::nearbyint(v);  // ties to even in the default rounding mode
  if (!(r >= INT32_MIN && r <= INT32_MAX) || p == 0) RunError(200, "");
  FloatResult(r / p);
}

void Random() {
  uint32_t n = static_cast<uint32_t>(Read(')').long_form);
  RandomSeed = RandomSeed * 134775813u + 1u;
  auto result = static_cast<uint32_t>((static_cast<uint64_t>(RandomSeed) * n) >> 32);
  LongValue = static_cast<int32_t>(result);
  FloatValue = static_cast<int16_t>(result & 0xFFFF);  // the float form keeps the low 16 bits
  ValueType = kTypeFloat;
}

void ColourNumber() {
  int32_t r = Read(',', kKindNumber).integer;
  int32_t g = Read(',', kKindNumber).integer;
  int32_t b = Read(')', kKindNumber).integer;
  int32_t top = TrueColorMode ? 255 : 31;
  int32_t scale = TrueColorMode ? 256 : 32;
  r = r > top ? top : r;
  g = g > top ? top : g;
  b = b > top ? top : b;
  IntegerResult(Wrap(r + static_cast<int64_t>(scale) * g + static_cast<int64_t>(scale) * scale * b), kTypeInteger);
}

// The 15-bit extractions subtract 1 from values above 1 in the first and third.
int32_t TrimHigh(int32_t v) { return v > 1 ? v - 1 : v; }

void FirstComponent() {
  int32_t c = Read(')').long_form;
  IntegerResult(TrueColorMode ? (c & 0xFF) : TrimHigh(c % 32), kTypeInteger);
}

void SecondComponent() {
  int32_t c = Read(')').long_form;
  IntegerResult(TrueColorMode ? ((c >> 8) & 0xFF) : c / 1024, kTypeInteger);
}

void ThirdComponent() {
  int32_t c = Read(')').long_form;
  IntegerResult(TrueColorMode ? ((c >> 16) & 0xFF) : TrimHigh((c % 1024) / 32), kTypeInteger);
}

// 0xC8: both values are read; the condition chooses one.
void Choose() {
  int32_t f = Read(',').integer;
  ReadArgument(',', kKindAny);
  const ShortString a_text = StringValue;
  int32_t a_int = IntValue, a_long = LongValue;
  ReadArgument(')', kKindAny);
  if (f != 0) {
    StringValue = a_text;
    IntValue = a_int;
    LongValue = a_long;
  }
  ValueType = kTypeString;
}

void ReadAndReturnZero() {
  ReadArgument(')', kKindAny);
  IntegerResult(0, kTypeInteger);
}

constexpr FunctionEntry kNumeric[] = {
    {0x81, Add},          {0x82, Subtract},        {0x83, Multiply},      {0x84, Divide},
    {0x85, IntegerDivide}, {0x86, Remainder},      {0x87, BitAnd},        {0x88, BitOr},
    {0x45, BitXor},       {0x3B, TestBit},         {0x3C, ChangeBit},     {0x89, NotEqual},
    {0x8A, Equal},        {0x8B, Greater},         {0x8C, Less},          {0xA2, LogicalNot},
    {0xA3, Absolute},     {0xA4, Unary<CosL>},     {0xA5, Unary<SinL>},   {0xA6, Unary<ExpL>},
    {0xA7, NaturalLog},   {0xCD, DecimalLog},      {0xCE, Tangent},       {0xCF, Cotangent},
    {0xD0, Power},        {0xA8, Unary<SquareL>},  {0xA9, SquareRoot},    {0xAA, Unary<AtanL>},
    {0xAB, Pi},           {0xAC, IntegerPart},     {0x63, RoundToDecimals}, {0xAD, Random},
    {0xAE, ColourNumber}, {0x4D, FirstComponent},  {0x4E, SecondComponent}, {0x4F, ThirdComponent},
    {0xC8, Choose},       {0xFE, ReadAndReturnZero},
};

}  // namespace

std::span<const FunctionEntry> NumericFunctions() { return kNumeric; }

void SeedRandomCommand() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  uint64_t ms_of_day = (static_cast<uint64_t>(tv.tv_sec) % 86400u) * 1000u + static_cast<uint64_t>(tv.tv_usec) / 1000u;
  RandomSeed = static_cast<uint32_t>(ms_of_day);
  LineHandled = true;
}

}  // namespace morven
