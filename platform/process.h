#pragma once
// The one way the process ends. The runtime registers its shutdown (which ends any
// print job, closes tables, destroys the window...) as the abort handler; platform
// code that must stop the run (a script line that does not fit, say) goes through it.
namespace morven::platform {

using ExitStep = void (*)();
using AbortHandler = void (*)(int exit_code);

// Steps run by EndProcess before the exit event is logged (snapshots, for example).
void AddExitStep(ExitStep step);

// Runs the exit steps, writes the log's exit event, flushes and ends the process.
[[noreturn]] void EndProcess(int exit_code);

void SetAbortHandler(AbortHandler handler);

// Ends the run through the runtime's shutdown (or EndProcess when none is registered).
[[noreturn]] void AbortRun(int exit_code);

}  // namespace morven::platform
