#pragma once
// The system variables of the main window and the event state.
#include <cstdint>

namespace morven {

// Fills the registers for a code of the window and event state; false for any other
// code. Some reads clear what they report (the button flags, InputSeen, TimerFired,
// PaintRequested).
bool ReadConsoleVariable(uint8_t code);

}  // namespace morven
