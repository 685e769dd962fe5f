#pragma once
// Reading a line from the keyboard in the main window (the line editor).
#include "core/short_string.h"

namespace morven {

// Lets the user type a line (at most 126 characters) at the text cursor; the line is
// returned without its Enter.
void ReadConsoleLine(ShortString& line);

}  // namespace morven
