#include "console/console_output.h"

#include "core/not_built.h"

namespace morven {

void ConsoleWrite(std::string_view) { NotAvailable("text output to the main window"); }

bool PrintJobOpen() { return false; }

}  // namespace morven
