#include "console/print_command.h"

#include "console/console_output.h"
#include "core/argument_reader.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "data/text_channels.h"
#include "errors/run_error.h"

namespace morven {

std::string PrintItemText() {
  switch (ValueType) {
    case kTypeInteger: return IntegerText(IntValue).Str();
    case kTypeLong: return IntegerText(LongValue).Str();
    case kTypeFloat: return FormatFloat(FloatValue, NumberWidth > 255 ? 255 : NumberWidth, Decimals).Str();
    default: {
      std::string text;
      if (StringWidth > StringValue.length) text.assign(static_cast<size_t>(StringWidth - StringValue.length), ' ');
      text.append(StringValue.View());
      return text;
    }
  }
}

void PrintCommand() {
  LineHandled = true;
  if (RestOfLine.empty()) {
    ConsoleWrite("\r\n");
    return;
  }
  int slot = 0;
  if (RestOfLine.front() == '#') {
    RestOfLine = TrimBlanks(RestOfLine.substr(1));
    ReadArgument(',', kKindAny);
    if (IntValue < 1 || IntValue > 15) RunError(210, "");
    slot = IntValue;
  }
  do {
    ReadArgument('p', kKindAny);
    if (slot == 0 && PrintJobOpen()) RunError(221, "PRINT");
    std::string text = PrintItemText();
    if (ArgSeparator == ',') text += ' ';
    else if (ArgSeparator != ';') text += "\r\n";  // the item ended the line
    // Each item goes out at once, so nothing is held back.
    if (slot != 0) WriteToTextChannel(slot, text);
    else ConsoleWrite(text);
  } while (!ArgListEnd);
}

}  // namespace morven
