#pragma once
#include <cstdint>

namespace morven::platform {

// Milliseconds since the system started, wrapping at 2^32 like the Windows tick count.
uint32_t TickCount();

// Lets time pass for a script's "wait" line.
void PassTime(uint32_t milliseconds);

}  // namespace morven::platform
