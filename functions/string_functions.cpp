#include "functions/function_table.h"

namespace morven {

std::span<const FunctionEntry> StringFunctions() { return {}; }

}  // namespace morven
