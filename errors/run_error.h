#pragma once
// The two reporting paths every part of the runtime uses, and the error mode.
#include <cstdint>
#include <string_view>

namespace morven {

// -1 silent, 1 normal, 2 strict (warnings are fatal), other values: fatal errors end
// the run and warnings are silent.
extern int32_t ErrorMode;
// 2 after a fatal error, 1 after a warning; reset by its system variable.
extern int32_t ErrorState;
// The number of the last error or warning whose report returned to the raising code.
extern int32_t LastErrorNumber;

// Thrown when a fatal error returns in the silent mode: it abandons the rest of the
// statement, and only the main loop catches it.
struct StatementAbandoned {};

// A fatal error: box, then the shutdown with exit code 0. In the silent mode it sets
// the error state and throws StatementAbandoned instead. Never returns normally.
[[noreturn]] void RunError(int32_t number, std::string_view detail);

// A warning: a box with OK (the statement goes on) and Cancel (the run ends).
void RunWarning(int32_t number, std::string_view detail);

// Take an already composed message (number text and detail).
void ShowFatalError(std::string_view message);
void ShowWarning(std::string_view message);

// Token 0xEF: sets ErrorMode from one argument of any type.
void SetErrorModeCommand();

}  // namespace morven
