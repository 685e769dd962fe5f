#pragma once
// System variables: a type character and a code byte; also the radix literals
// "$" + hex digits, "&" + octal digits and "%" + binary digits.
#include <string_view>

namespace morven {

// Fills the registers for the name (type character first), or raises message 100.
void ReadSystemVariable(std::string_view name);

}  // namespace morven
