#include "core/basic_commands.h"

#include "core/argument_reader.h"
#include "core/program_state.h"

namespace morven {

void NoOperationCommand() { LineHandled = true; }

void EvaluateLineCommand() {
  ReadArgument(' ', kKindAny);
  LineHandled = true;
}

void EvaluateFirstArgumentCommand() {
  ReadArgument(',', kKindAny);
  LineHandled = true;
}

void EndCommand() {
  StopRequested = true;
  LineHandled = true;
}

}  // namespace morven
