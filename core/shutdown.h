#pragma once
// The one shutdown of the runtime. Every way a run ends — the last line, the end
// command, a fatal error, a script that does not fit, quit and break — passes here.
namespace morven {

// Releases what the run holds, in the runtime's order, and ends the process.
[[noreturn]] void Shutdown(int exit_code);

}  // namespace morven
