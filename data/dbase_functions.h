#pragma once
// The table functions and commands programs call, and the table system variables.
#include <cstdint>

namespace morven {

void MakeIndexCommand();  // 0xF8: key expression ">" index file name
void MakeTableCommand();  // 0xF9: table file name ">" structure file name

// The system variables of the CurrentTable (0xA0 to 0xAC, 0xC2, 0xC3) into the
// registers; 0 and empty texts when its slot holds no table. False for other codes.
bool ReadTableVariable(uint8_t code);

}  // namespace morven
