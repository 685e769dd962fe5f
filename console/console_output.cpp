#include "console/console_output.h"

#include "console/text_screen.h"

namespace morven {

void ConsoleWrite(std::string_view bytes) { WriteToScreen(bytes, true); }

// Print jobs do not exist yet (the print commands report themselves as not
// available), so none is ever open.
bool PrintJobOpen() { return false; }

}  // namespace morven
