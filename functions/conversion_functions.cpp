#include "functions/function_table.h"

namespace morven {

std::span<const FunctionEntry> ConversionFunctions() { return {}; }

}  // namespace morven
