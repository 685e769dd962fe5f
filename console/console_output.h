#pragma once
// Writing to the text screen of the main window (creating the window when needed).
#include <string_view>

namespace morven {

// Writes bytes at the text cursor: other bytes into cells (wrapping at the row's end),
// LF starts a new line (the last row scrolls), CR is ignored, Backspace blanks the
// cell to the left, BEL beeps; waiting window messages are handled afterwards.
void ConsoleWrite(std::string_view bytes);

// True while a print job is open: screen output is then refused.
bool PrintJobOpen();

}  // namespace morven
