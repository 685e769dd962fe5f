// The four whole-array variables ("DIM%", "DIM&", "DIM!", "DIM$"): single anonymous
// vectors of up to 32768 elements, created once per run.
#include "core/argument_reader.h"
#include "core/arrays.h"
#include "core/element_pools.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "errors/run_error.h"
#include "functions/function_table.h"
#include "functions/six_byte_real.h"

namespace morven {

ElementPool<int32_t> NamedIntegerPool;
ElementPool<int32_t> NamedLongPool;
ElementPool<double> NamedFloatPool;
ElementPool<ShortString> NamedStringPool;
ElementPool<int32_t> WholeIntegerArray;
ElementPool<int32_t> WholeLongArray;
ElementPool<double> WholeFloatArray;
ElementPool<ShortString> WholeStringArray;

namespace {

template <typename Element>
void Dimension(ElementPool<Element>& pool, int32_t created_twice_message) {
  if (pool.Highest() != -1) RunError(created_twice_message, "");
  ReadArgument(' ', kKindAny);
  int32_t n = IntValue;
  if (n < 0 || n > kPoolCapacity - 1) RunError(231, "");
  int32_t base = 0;
  pool.Reserve(n + 1, base);
  LineHandled = true;
}

// Reads the index of a store ("=" context) and checks it against the highest index.
template <typename Element>
Element& StoreTarget(ElementPool<Element>& pool) {
  ReadArgument('=', kKindAny);
  int32_t index = IntValue;
  if (index < 0 || index > pool.Highest()) RunError(207, "");
  ReadArgument(' ', kKindAny);
  LineHandled = true;
  return pool.At(index);
}

// Reads the index of an element function; StringValue holds the highest index as text
// (the detail of message 207), and keeps it for the numeric results.
template <typename Element>
Element& ElementOf(ElementPool<Element>& pool) {
  ReadArgument(')', kKindAny);
  int32_t index = IntValue;
  StringValue = FormatInteger(pool.Highest(), 0);
  if (index < 0 || index > pool.Highest()) {
    const ShortString detail = StringValue;
    RunError(207, detail.View());
  }
  return pool.At(index);
}

}  // namespace

void DimIntegerArrayCommand() { Dimension(WholeIntegerArray, 116); }
void DimLongArrayCommand() { Dimension(WholeLongArray, 117); }
void DimFloatArrayCommand() { Dimension(WholeFloatArray, 119); }
void DimStringArrayCommand() { Dimension(WholeStringArray, 118); }

// (The target is found first: it reads the value, which the store then takes.)
void StoreIntegerElementCommand() {
  int32_t& element = StoreTarget(WholeIntegerArray);
  element = IntValue;
}
void StoreLongElementCommand() {
  int32_t& element = StoreTarget(WholeLongArray);
  element = LongValue;
}
void StoreFloatElementCommand() {
  double& element = StoreTarget(WholeFloatArray);
  element = FloatValue;
}
void StoreStringElementCommand() {
  ShortString& element = StoreTarget(WholeStringArray);
  element = StringValue;
}

void IntegerElementFunction() {
  LongValue = ElementOf(WholeIntegerArray);
  ValueType = kTypeInteger;
}

void LongElementFunction() {
  LongValue = ElementOf(WholeLongArray);
  ValueType = kTypeLong;
}

void FloatElementFunction() {
  FloatValue = ElementOf(WholeFloatArray);
  LongValue = FloatToLong(FloatValue);
  ValueType = kTypeFloat;
}

void StringElementFunction() {
  StringValue = ElementOf(WholeStringArray);
  ValueType = kTypeString;
}

}  // namespace morven

namespace morven {
namespace {
constexpr FunctionEntry kArrayFunctions[] = {
    {0xB7, IntegerElementFunction},
    {0xB8, LongElementFunction},
    {0xB9, FloatElementFunction},
    {0xBA, StringElementFunction},
};
}  // namespace

std::span<const FunctionEntry> ArrayFunctions() { return kArrayFunctions; }

}  // namespace morven
