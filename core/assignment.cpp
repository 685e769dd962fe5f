#include "core/assignment.h"

#include "console/console_input.h"
#include "console/console_output.h"
#include "console/event_state.h"
#include "core/argument_reader.h"
#include "core/input_state.h"
#include "core/number_text.h"
#include "core/arrays.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "core/variables.h"
#include "data/text_channels.h"
#include "errors/run_error.h"
#include "functions/colours.h"

namespace morven {
namespace {

ShortString UpperTrimmed(std::string_view text) {
  ShortString s(TrimBlanks(text));
  UpperText(s);
  return s;
}

// The value of a string assignment: the list items joined; items separated by ","
// get one blank between them.
void Concatenate() {
  ShortString text;
  ArgListEnd = false;
  while (!ArgListEnd) {
    ReadArgument('p', kKindAny);
    text.Append(StringValue.View());
    if (ArgSeparator == ',') text.Append(' ');
  }
  StringValue = text;
}

// The suffix that decides an assignment target's type: the name's last character, for
// an element the one before its "[".
char TargetSuffix(std::string_view target) {
  if (!target.empty() && target.back() == ']') {
    size_t open = target.find('[');
    std::string_view name = TrimBlanks(target.substr(0, open == std::string_view::npos ? 0 : open));
    return name.empty() ? '\0' : name.back();
  }
  return target.empty() ? '\0' : target.back();
}

bool StoreInElement(const ElementRef& e) {
  if (e.string != nullptr) *e.string = StringValue;
  else if (e.floating != nullptr) *e.floating = FloatValue;
  else if (e.type == '%') *e.integer = IntValue;
  else *e.integer = LongValue;
  return true;
}

bool StoreInVariable(std::string_view name, char suffix) {
  switch (suffix) {
    case '%':
      if (int32_t* v = FindIntegerVariable(name)) return *v = IntValue, true;
      return false;
    case '&':
      if (int32_t* v = FindLongVariable(name)) return *v = LongValue, true;
      return false;
    case '!':
      if (double* v = FindFloatVariable(name)) return *v = FloatValue, true;
      return false;
    case '$':
      if (ShortString* v = FindStringVariable(name)) return *v = StringValue, true;
      return false;
    default:
      return false;  // "#" or no suffix: never a scalar variable
  }
}

// The counter commands: name, optionally "," and an amount read first.
void ChangeCounter(bool with_amount, int32_t sign) {
  ShortString name;
  int32_t amount = 1;
  if (with_amount) {
    size_t comma = RestOfLine.find(',');
    name = UpperTrimmed(RestOfLine.substr(0, comma));
    RestOfLine = comma == std::string_view::npos ? std::string_view() : TrimBlanks(RestOfLine.substr(comma + 1));
    ReadArgument(' ', kKindAny);
    amount = IntValue;
  } else {
    name = UpperTrimmed(RestOfLine);
  }
  LineHandled = true;
  if (name.Empty() || name.View().back() != '%') RunError(103, "");
  int32_t* v = FindIntegerVariable(name.View());
  if (v == nullptr) RunError(215, name.View());
  uint32_t change = static_cast<uint32_t>(amount);
  *v = static_cast<int32_t>(sign > 0 ? static_cast<uint32_t>(*v) + change : static_cast<uint32_t>(*v) - change);
}

}  // namespace

void AssignmentCommand() {
  LineHandled = true;
  size_t equals = RestOfLine.find('=');
  const ShortString target = UpperTrimmed(RestOfLine.substr(0, equals));
  RestOfLine = equals == std::string_view::npos ? std::string_view() : TrimBlanks(RestOfLine.substr(equals + 1));
  char suffix = TargetSuffix(target.View());

  ElementRef element;
  bool is_element = !target.Empty() && target.View().back() == ']';
  bool element_found = is_element && FindElementForAssignment(target.View(), element);

  if (suffix == '$') Concatenate();
  else ReadArgument(' ', kKindAny);

  bool stored = is_element ? element_found && StoreInElement(element) : StoreInVariable(target.View(), suffix);
  if (!stored) RunError(215, target.View());
}

void InputCommand() {
  LineHandled = true;
  int slot = 0;
  if (!RestOfLine.empty() && RestOfLine.front() == '#') {
    RestOfLine = TrimBlanks(RestOfLine.substr(1));
    ReadArgument(',', kKindAny);
    if (IntValue < 1 || IntValue > 15) RunError(210, "");
    slot = IntValue;
  } else if (PrintJobOpen()) {
    RunError(221, "INPUT");
  }
  ShortString name(RestOfLine);  // upper case, not trimmed
  UpperText(name);
  char suffix = name.Empty() ? '\0' : name.View().back();
  int32_t* integer = suffix == '%' ? FindIntegerVariable(name.View()) : nullptr;
  int32_t* long_value = suffix == '&' ? FindLongVariable(name.View()) : nullptr;
  ShortString* string = suffix == '$' ? FindStringVariable(name.View()) : nullptr;
  double* floating = suffix == '!' ? FindFloatVariable(name.View()) : nullptr;
  if (integer == nullptr && long_value == nullptr && string == nullptr && floating == nullptr)
    RunError(215, name.View());

  ShortString line;
  if (slot != 0) ReadFromTextChannel(slot, line);
  else ReadConsoleLine(line);

  if (string != nullptr) {
    LastInputText = line;
    *string = line;
    StringValue = line;
  } else {
    StringValue = line;
    if (integer != nullptr) *integer = LastInputInteger = IntegerPrefix(line.View());
    if (long_value != nullptr) *long_value = LastInputLong = IntegerPrefix(line.View());
    if (floating != nullptr) {
      FloatParse(line.View(), LastInputFloat);
      *floating = LastInputFloat;
    }
  }
  if (slot == 0) ConsoleWrite("\r\n");
}

void IncrementCommand() { ChangeCounter(false, +1); }
void DecrementCommand() { ChangeCounter(false, -1); }
void AddToCommand() { ChangeCounter(true, +1); }
void SubtractFromCommand() { ChangeCounter(true, -1); }

void SetMenuCommandCommand() {
  ReadArgument(' ', kKindAny);
  MenuCommand = static_cast<int16_t>(static_cast<uint16_t>(IntValue));
  LineHandled = true;
}

void SetTrueColorCommand() {
  ReadArgument(' ', kKindNumber);
  TrueColorMode = IntValue != 0;
  LineHandled = true;
}

}  // namespace morven

namespace morven {

ShortString LastInputText;
int32_t LastInputInteger = 0;
int32_t LastInputLong = 0;
double LastInputFloat = 0.0;

}  // namespace morven
