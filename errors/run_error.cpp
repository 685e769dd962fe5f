#include "errors/run_error.h"

#include <cstdio>

#include "console/main_window.h"
#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/short_string.h"
#include "core/shutdown.h"
#include "errors/message_table.h"
#include "platform/message_box.h"

namespace morven {

int32_t ErrorMode = 1;
int32_t ErrorState = 0;
int32_t LastErrorNumber = 0;

namespace {

ShortString ComposeMessage(int32_t number, std::string_view detail) {
  ShortString message(MessageText(number));
  message.Append(detail);
  return message;
}

// The box body: "Zeile" and the line number right-aligned in six places, then "!".
// Before the program is loaded there is no line number; the line buffer is shown.
ShortString BoxBody() {
  if (!ProgramLoaded) return ShortString(RestOfLine);
  ShortString body(MessageText(801));
  char number[16];
  std::snprintf(number, sizeof number, "%6d!", static_cast<int>(CurrentLine));
  body.Append(number);
  return body;
}

}  // namespace

void ShowFatalError(std::string_view message) {
  while (platform::ShowCursor(true) < 0) {
  }
  ErrorState = 2;
  if (ErrorMode == -1) return;
  platform::MessageBox(BoxBody().View(), message, platform::kMbIconError | platform::kMbOk);
  Shutdown(0);
}

void ShowWarning(std::string_view message) {
  ErrorState = 1;
  if (ErrorMode == 2) {
    ShowFatalError(message);
    return;
  }
  if (ErrorMode != 1) return;
  int32_t answer = platform::MessageBox(BoxBody().View(), message, platform::kMbIconWarning | platform::kMbOkCancel);
  if (answer == platform::kIdCancel) RunError(999, "");
  // The box may have covered the main window.
  RefreshMainWindowAfterBox();
}

void RunError(int32_t number, std::string_view detail) {
  ShowFatalError(ComposeMessage(number, detail).View());
  LastErrorNumber = number;
  throw StatementAbandoned{};
}

void RunWarning(int32_t number, std::string_view detail) {
  ShowWarning(ComposeMessage(number, detail).View());
  LastErrorNumber = number;
}

void SetErrorModeCommand() {
  ReadArgument(' ', kKindAny);
  ErrorMode = IntValue;
  LineHandled = true;
}

}  // namespace morven
