#pragma once
// The moments the program lets window messages through, and the break path.
#include <cstdint>

namespace morven {

// Handles every waiting message without blocking: an F1 press since the last pump
// pushes key 5; a quit message ends the run (exit code 255); with DialogNavigation the
// main window's Enter, Escape and Tab are dialog keys; system keys and commands become
// menu commands when the window options say so; the rest is translated and dispatched.
void PumpMessages();

// Ends the run with exit code 255 (Ctrl+C, Ctrl+Break, the quit message). A main
// window that still exists gets its title back and keeps handling its messages until
// the user closes it; only then does the process end.
void Halt(int exit_code);

}  // namespace morven
