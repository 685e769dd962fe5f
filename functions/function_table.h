#pragma once
// How the function families hand their functions to the dispatcher.
#include <cstdint>
#include <span>
#include <string_view>

#include "core/registers.h"

namespace morven {

// A built-in function reads its own arguments with ReadArgument and leaves its result
// in the value registers; integer results go to LongValue (the dispatcher fills the
// other forms).
using BuiltinFunction = void (*)();

// A string result.
inline void StringResult(std::string_view text) {
  StringValue.Assign(text);
  ValueType = kTypeString;
}

// An integer result: LongValue and its type; the dispatcher fills the other forms.
inline void IntegerResult(int32_t value, uint8_t type = kTypeInteger) {
  LongValue = value;
  ValueType = type;
}

struct FunctionEntry {
  uint8_t code;
  BuiltinFunction function;
};

std::span<const FunctionEntry> NumericFunctions();
std::span<const FunctionEntry> ArrayFunctions();
std::span<const FunctionEntry> StringFunctions();
std::span<const FunctionEntry> ConversionFunctions();
std::span<const FunctionEntry> DateFunctions();
std::span<const FunctionEntry> WindowQueryFunctions();
std::span<const FunctionEntry> FileFunctions();
std::span<const FunctionEntry> FileSystemFunctions();
std::span<const FunctionEntry> AreaFunctions();
std::span<const FunctionEntry> EnvironmentFunctions();
std::span<const FunctionEntry> TableFunctions();

}  // namespace morven
