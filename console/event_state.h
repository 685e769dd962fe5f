#pragma once
// The event state that the window procedures record and the program reads.
#include <cstdint>

namespace morven {

// The number of the last menu command, or minus the id of a notifying control; 255 is
// what the single item of the default menu bar delivers (seen as 254 from the next
// statement on).
extern int16_t MenuCommand;

}  // namespace morven
