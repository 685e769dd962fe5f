// The runtime's command-line parameters and the environment.
#include <cstdlib>
#include <cstring>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "errors/run_error.h"
#include "functions/function_table.h"
#include "platform/codepage.h"

namespace morven {
namespace {

// 0xBC: parameter n; 0 is the runtime's own path.
void CommandLineParameter() {
  ReadArgument(')', kKindAny);
  int32_t n = IntValue;
  if (n < 0 || n >= static_cast<int32_t>(CommandLine.size())) RunError(208, "");
  StringValue.Assign(CommandLine[static_cast<size_t>(n)]);
  ValueType = kTypeString;
}

// 0xFB: the variable's value; empty when it is not set or longer than 254 bytes.
void EnvironmentVariable() {
  ReadArgument(')', kKindString);
  std::string name = platform::Cp1252ToUtf8(StringValue.View());
  const char* value = std::getenv(name.c_str());
  std::string text;
  if (value != nullptr) platform::Utf8ToCp1252(value, text);
  StringValue.Assign(text.size() <= 254 ? text : std::string());
  ValueType = kTypeString;
}

constexpr FunctionEntry kEnvironmentFunctions[] = {
    {0xBC, CommandLineParameter},
    {0xFB, EnvironmentVariable},
};

}  // namespace

std::span<const FunctionEntry> EnvironmentFunctions() { return kEnvironmentFunctions; }

}  // namespace morven
