#include "console/console_input.h"

#include "core/not_built.h"

namespace morven {

void ReadConsoleLine(ShortString&) { NotAvailable("INPUT from the console"); }

}  // namespace morven
