#pragma once
// The outcome of the last message box or standard dialog, kept for the program.
#include <cstdint>

namespace morven {

// The button code after a message box; 1 confirmed, 2 cancelled after a dialog.
extern int32_t DialogResult;

}  // namespace morven
