#pragma once
// PRINT (0xA2): items to the text screen, or with "#n" to a file slot's text channel.
#include <string>

namespace morven {

void PrintCommand();

// The text of the item just read, formatted by its type with StringWidth,
// NumberWidth and Decimals.
std::string PrintItemText();

}  // namespace morven
