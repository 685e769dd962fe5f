#include "console/console_input.h"

#include "console/event_state.h"
#include "console/main_window.h"

namespace morven {
namespace {

// The console input stream holds 128 bytes: a line of 126 characters, CR and LF.
constexpr int kConsoleStreamCapacity = 128;

}  // namespace

// The keys are typed into the main window, so it is there before the first one (a
// window created only by the first echo could never receive that key).
void ReadConsoleLine(ShortString& line) {
  EnsureMainWindow();
  LineEditor(line, kConsoleStreamCapacity);
}

}  // namespace morven
