#pragma once
// Writing to the text screen of the main window (creating the window when needed).
#include <string_view>

namespace morven {

// Writes bytes at the text cursor: printable bytes into cells, CR and LF move the
// cursor, the last row scrolls; waiting window messages are handled afterwards.
void ConsoleWrite(std::string_view bytes);

// True while a print job is open: screen output is then refused.
bool PrintJobOpen();

}  // namespace morven
