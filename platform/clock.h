#pragma once
#include <cstdint>

namespace morven::platform {

// Milliseconds since the system started, wrapping at 2^32 like the Windows tick count.
// With the virtual clock (MORVEN_VIRTUAL_CLOCK=1) it starts at 0 and moves only when
// time is let pass (PassTime): by a script's "wait" lines, never by computation, so a
// run's timer ticks and tick counts are the same on every machine.
uint32_t TickCount();

// Lets time pass for a script's "wait" line. With the virtual clock this only moves
// the clock forward; otherwise it sleeps.
void PassTime(uint32_t milliseconds);

// True when MORVEN_VIRTUAL_CLOCK=1 was set at start.
bool VirtualClockInUse();

}  // namespace morven::platform
