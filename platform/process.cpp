#include "platform/process.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "platform/automation.h"

namespace morven::platform {
namespace {

std::vector<ExitStep>& ExitSteps() {
  static std::vector<ExitStep> steps;
  return steps;
}

AbortHandler g_abort_handler = nullptr;
bool g_ending = false;

}  // namespace

void AddExitStep(ExitStep step) { ExitSteps().push_back(step); }

void EndProcess(int exit_code) {
  // An exit step that fails and tries to end the process again must not loop.
  if (!g_ending) {
    g_ending = true;
    for (ExitStep step : ExitSteps()) step();
    LogExit(exit_code);
  }
  std::fflush(stdout);
  std::fflush(stderr);
  // _exit: the host toolkit's static objects are not torn down behind our back, and
  // nothing can run program code after this point.
  _exit(exit_code);
}

void SetAbortHandler(AbortHandler handler) { g_abort_handler = handler; }

void AbortRun(int exit_code) {
  if (g_abort_handler != nullptr && !g_ending) g_abort_handler(exit_code);
  EndProcess(exit_code);
}

}  // namespace morven::platform
