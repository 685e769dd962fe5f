#pragma once
// Names of the system variable codes (the byte after the type character).
#include <cstdint>
#include <string_view>

namespace morven {

// The listing name of a code 0x81..0xC9, nullptr for any other byte.
const char* SystemVariableName(uint8_t code);

// The code with this name (case-insensitive), or -1.
int FindSystemVariableByName(std::string_view name);

}  // namespace morven
