#pragma once
// The loaded program and the interpreter's program counter.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/short_string.h"

namespace morven {

constexpr int32_t kMaxLines = 32767;

// Lines 1..LineCount; entry 0 is unused so that line numbers index directly.
extern std::vector<ShortString> LineTable;
extern int32_t LineCount;
extern int32_t CurrentLine;
extern uint8_t CommandToken;
// The unread argument text of the current statement: a view into LineTable (or into
// a user-defined function's definition line); ReadArgument removes from its front.
extern std::string_view RestOfLine;
extern bool LineHandled;
extern bool StopRequested;
extern bool ProgramLoaded;
extern uint8_t PumpCounter;

// The runtime's command line (Windows-1252): entry 0 is the runtime's own path.
extern std::vector<std::string> CommandLine;

// The text of line n, or an empty view for a number outside 1..LineCount.
std::string_view LineText(int32_t n);

}  // namespace morven
