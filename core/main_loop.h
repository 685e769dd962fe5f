#pragma once

namespace morven {

// Executes the loaded program line by line, then shuts down with exit code 0.
[[noreturn]] void RunMainLoop();

// Executes the statement of line CurrentLine + 1 (advancing CurrentLine).
void ExecuteNextStatement();

}  // namespace morven
