#pragma once
// Text through a file slot's text channel: PRINT #n writes, INPUT #n reads.
#include <string_view>

#include "core/short_string.h"

namespace morven {

// slot is 1..15. The text goes to the file at once. A channel that is not open for
// writing leaves code 105 in PendingIoError; the program goes on.
void WriteToTextChannel(int slot, std::string_view text);

// Reads one line: it ends at CR (one LF after it is skipped), at most 255 bytes are
// kept, a Ctrl-Z ends the file. At the end the line is empty. A channel that is not
// open for reading gives an empty line and leaves code 104.
void ReadFromTextChannel(int slot, ShortString& line);

}  // namespace morven
