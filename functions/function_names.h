#pragma once
// Names of the built-in function codes (the byte after "@" in argument text).
#include <cstdint>
#include <string_view>

namespace morven {

// True for the codes 0x21..0xFE that select a built-in function; every other code
// calls a user-defined function whose definition line follows as two bytes.
bool HasBuiltinFunction(uint8_t code);

// The listing name of a code 0x21..0xFE: the built-in function's name, or "FN" and the
// code in two upper-case hex digits for user-defined codes. nullptr outside 0x21..0xFE.
const char* FunctionName(uint8_t code);

// The code with this name (case-insensitive), or -1.
int FindFunctionByName(std::string_view name);

}  // namespace morven
