#include "functions/dispatcher.h"

#include <array>
#include <cstdio>

#include "core/argument_reader.h"
#include "core/not_built.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/variables.h"
#include "errors/run_error.h"
#include "functions/function_names.h"
#include "functions/function_table.h"

namespace morven {
namespace {

constexpr uint8_t kUserFunctionDefinition = 0x83;

using Table = std::array<BuiltinFunction, 256>;

const Table& Functions() {
  static const Table table = [] {
    Table t{};
    for (auto family : {NumericFunctions(), ArrayFunctions(), StringFunctions(), ConversionFunctions(),
                        DateFunctions(), WindowQueryFunctions(), FileFunctions(), FileSystemFunctions(),
                        AreaFunctions(), EnvironmentFunctions(), TableFunctions()})
      for (const FunctionEntry& e : family) t[e.code] = e.function;
    return t;
  }();
  return table;
}

[[noreturn]] void FunctionNotAvailable(uint8_t code) {
  char what[64];
  const char* name = FunctionName(code);
  std::snprintf(what, sizeof what, "function code 0x%02X (%s)", code, name ? name : "no name");
  NotAvailable(what);
}

// Codes 0x21, 0x24, 0x25, 0x26: argument slot n (0 to 12) as float, string, integer,
// long. The registers come from the slot as they are.
bool ParameterAccess(uint8_t code) {
  uint8_t type;
  switch (code) {
    case 0x21: type = kTypeFloat; break;
    case 0x24: type = kTypeString; break;
    case 0x25: type = kTypeInteger; break;
    case 0x26: type = kTypeLong; break;
    default: return false;
  }
  ReadArgument(')', kKindAny);
  int32_t n = IntValue;
  if (n < 0 || n > 12) RunError(211, "");
  IntValue = ArgSlots.integers[n];
  LongValue = ArgSlots.longs[n];
  FloatValue = ArgSlots.floats[n];
  StringValue = ArgSlots.strings[n];
  ValueType = type;
  return true;
}

// A user-defined function that calls itself without end would exhaust the stack;
// nested calls beyond this depth end like too deep procedure calls.
constexpr int kMaxUserFunctionDepth = 200;
int g_user_function_depth = 0;

struct UserFunctionLevel {
  UserFunctionLevel() {
    if (g_user_function_depth >= kMaxUserFunctionDepth) RunError(114, "");
    ++g_user_function_depth;
  }
  ~UserFunctionLevel() { --g_user_function_depth; }
};

// A function the program defines on a line with token 0x83: the two bytes after the
// code name that line; its text (from the sixth byte) is "n)" and the expression.
void CallUserDefinedFunction() {
  UserFunctionLevel level;
  auto byte_at = [](size_t i) { return i < RestOfLine.size() ? static_cast<uint8_t>(RestOfLine[i]) : 0; };
  int32_t line = byte_at(0) | (byte_at(1) << 8);
  RestOfLine.remove_prefix(RestOfLine.size() < 2 ? RestOfLine.size() : 2);
  std::string_view definition = LineText(line);
  if (definition.empty() || static_cast<uint8_t>(definition.front()) != kUserFunctionDefinition)
    RunError(101, "");
  definition.remove_prefix(definition.size() < 5 ? definition.size() : 5);

  std::string_view call_text = RestOfLine;
  RestOfLine = definition;
  ReadArgument(')', kKindAny);
  int32_t count = IntValue;
  if (count < 0 || count > 15) RunError(211, "");
  std::string_view expression = RestOfLine;
  RestOfLine = call_text;

  for (int32_t i = 1; i <= count; ++i) {
    // Nested calls made while the argument is evaluated cannot disturb the slots
    // (only a function call can change them, so without one there is nothing to keep).
    if (RestOfLine.find('@') != std::string_view::npos) {
      ArgumentSlots saved = ArgSlots;
      ReadArgument(i < count ? ',' : ')', kKindAny);
      ArgSlots = saved;
    } else {
      ReadArgument(i < count ? ',' : ')', kKindAny);
    }
    StoreRegistersInSlot(i);
  }

  std::string_view after_call = RestOfLine;
  RestOfLine = expression;
  if (!expression.empty() && expression.front() == '!') NotAvailable("a DLL function call");
  if (!expression.empty() && expression.front() == '*') NotAvailable("a call through the 16-bit bridge");
  ReadArgument(' ', kKindAny);
  RestOfLine = after_call;
}

}  // namespace

void CallFunction(uint8_t code) {
  if (ParameterAccess(code)) return;
  if (!HasBuiltinFunction(code)) {
    CallUserDefinedFunction();
    return;
  }
  BuiltinFunction function = Functions()[code];
  if (function == nullptr) FunctionNotAvailable(code);
  function();
  // Integer results are in LongValue; the other forms follow from it.
  if (ValueType != kTypeString) IntValue = LongValue;
  if (ValueType == kTypeString || ValueType == kTypeInteger || ValueType == kTypeLong) FloatValue = LongValue;
}

}  // namespace morven
