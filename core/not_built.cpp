#include "core/not_built.h"

#include <cstdio>
#include <string>

#include "core/program_state.h"
#include "core/shutdown.h"
#include "core/token_names.h"

namespace morven {

void NotAvailable(std::string_view what) {
  std::fprintf(stderr, "morvrun: line %d: %.*s is not available in this version of the runtime\n",
               static_cast<int>(CurrentLine), static_cast<int>(what.size()), what.data());
  Shutdown(kExitNotAvailable);
}

void CommandNotAvailable() {
  char what[64];
  const char* mnemonic = TokenMnemonic(CommandToken);
  std::snprintf(what, sizeof what, "command token 0x%02X (%s)", CommandToken, mnemonic ? mnemonic : "no mnemonic");
  NotAvailable(what);
}

}  // namespace morven
