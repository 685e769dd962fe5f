#include "core/shutdown.h"

#include "console/main_window.h"
#include "data/dbase_table.h"
#include "errors/run_error.h"
#include "platform/process.h"

namespace morven {

void Shutdown(int exit_code) {
  // A failure while releasing must not start the shutdown again.
  static bool shutting_down = false;
  if (shutting_down) platform::EndProcess(exit_code);
  shutting_down = true;
  // The subsystems that hold resources (print job, window contexts, drawing objects,
  // tables, the main window) release them here, in that order, as they are added.
  // An error reported in the silent mode while releasing (it abandons "the statement")
  // must not escape: the process ends here in any case.
  try {
    CloseAllTables();
  } catch (const StatementAbandoned&) {
  }
  try {
    DestroyMainWindow();
  } catch (const StatementAbandoned&) {
  }
  platform::EndProcess(exit_code);
}

}  // namespace morven
