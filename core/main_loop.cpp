#include "core/main_loop.h"

#include "console/event_state.h"
#include "core/argument_reader.h"
#include "core/procedures.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/shutdown.h"
#include "core/token_table.h"
#include "errors/run_error.h"
#include "console/message_pump.h"

namespace morven {
namespace {

constexpr uint8_t kRunIfTrue = 0x81;
constexpr uint8_t kRunIfFalse = 0x82;
// The window's messages are let through after every 21st statement.
constexpr uint8_t kPumpInterval = 20;

// A single-line conditional prefix: "condition:statement". When the statement runs,
// its first byte becomes the command token; otherwise the line is done.
void ApplyPrefix(bool run_when_true) {
  ReadArgument(':', kKindAny);
  if (!RestOfLine.empty() && RestOfLine.front() == ':') RestOfLine.remove_prefix(1);
  bool runs = (IntValue != 0) == run_when_true;
  if (!runs || RestOfLine.empty()) {
    // An empty statement behind a prefix does nothing.
    LineHandled = true;
    return;
  }
  CommandToken = static_cast<uint8_t>(RestOfLine.front());
  RestOfLine.remove_prefix(1);
}

void Dispatch() {
  std::string_view line = LineTable[static_cast<size_t>(CurrentLine)].View();
  if (line.empty()) {
    // An empty record has no token: it does nothing.
    LineHandled = true;
    return;
  }
  CommandToken = static_cast<uint8_t>(line.front());
  RestOfLine = line.substr(1);
  if (MenuCommand == 255) MenuCommand = 254;

  if (CommandToken == kRunIfTrue) ApplyPrefix(true);
  if (!LineHandled && CommandToken == kRunIfFalse) ApplyPrefix(false);
  if (LineHandled) return;

  if (CommandHandler handler = HandlerOf(CommandToken)) handler();
  if (!LineHandled) CallUserProcedure();
}

}  // namespace

void ExecuteNextStatement() {
  ++CurrentLine;
  LineHandled = false;
  try {
    Dispatch();
  } catch (const StatementAbandoned&) {
    // A fatal error in the silent error mode: the rest of the statement is dropped and
    // the run goes on with the next line.
  }
  if (PumpCounter >= kPumpInterval) {
    PumpCounter = 0;
    try {
      PumpMessages();
    } catch (const StatementAbandoned&) {
      // An error reported while a message was handled, in the silent mode.
    }
  } else {
    ++PumpCounter;
  }
}

void RunMainLoop() {
  while (CurrentLine < LineCount && !StopRequested) ExecuteNextStatement();
  Shutdown(0);
}

}  // namespace morven
