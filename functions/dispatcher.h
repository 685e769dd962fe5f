#pragma once
// The function dispatcher: "@" and a code byte in argument text call a built-in
// function by code, or a user-defined function.
#include <cstdint>

namespace morven {

// Called with RestOfLine after the code byte; leaves the result in the registers.
void CallFunction(uint8_t code);

}  // namespace morven
