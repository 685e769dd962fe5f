#include "core/declarations.h"

#include <string_view>

#include "core/argument_reader.h"
#include "core/area_variables.h"
#include "core/arrays.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "core/variables.h"
#include "errors/run_error.h"

namespace morven {
namespace {

bool IsVariableSuffix(char c) { return c == '!' || c == '#' || c == '$' || c == '%' || c == '&'; }

template <typename Value>
void AppendVariable(VariableTable<Value>& table, std::string_view name, const Value& value, int32_t full_message) {
  if (!table.Append(name, value)) RunError(full_message, "");
}

// Appends a scalar variable of the name's suffix with the given slot's value.
void AppendScalar(const ShortString& name, int slot) {
  static const ShortString kEmpty{};
  bool from_slot = slot >= 1 && slot <= 15;
  switch (name.View().back()) {
    case '%':
      AppendVariable(IntVars, name.View(), from_slot ? ArgSlots.integers[slot] : 0, 217);
      break;
    case '&':
      AppendVariable(LongVars, name.View(), from_slot ? ArgSlots.longs[slot] : 0, 218);
      break;
    case '$':
      AppendVariable(StringVars, name.View(), from_slot ? ArgSlots.strings[slot] : kEmpty, 219);
      break;
    case '!':
      AppendVariable(FloatVars, name.View(), from_slot ? ArgSlots.floats[slot] : 0.0, 220);
      break;
    default:
      break;
  }
}

}  // namespace

DeclaredName ParseDeclaredName() {
  DeclaredName result;
  size_t comma = FindTopLevel(',', RestOfLine);
  std::string_view text;
  if (comma != 0) {
    text = TrimBlanks(RestOfLine.substr(0, comma - 1));
    RestOfLine.remove_prefix(comma);
  } else {
    ArgListEnd = true;
    text = TrimBlanks(RestOfLine);
    RestOfLine = {};
  }
  ShortString name(text);
  UpperText(name);
  std::string_view upper = name.View();
  if (!upper.empty() && upper.back() == ']') {
    size_t open = upper.find('[');
    if (open == std::string_view::npos) RunError(122, upper);
    result.dimensions.Assign(TrimBlanks(upper.substr(open + 1, upper.size() - open - 2)));
    result.name.Assign(TrimBlanks(upper.substr(0, open)));
  } else {
    result.name = name;
  }
  std::string_view n = result.name.View();
  if (n.empty() || !IsVariableSuffix(n.back())) RunError(122, n);
  if (n.back() == '#' && !result.dimensions.Empty()) RunError(122, n);
  if (n.find(' ') != std::string_view::npos) RunError(122, n);
  if (n.size() > kMaxNameLength) RunError(123, n);
  return result;
}

void DeclareVariablesCommand() {
  ArgListEnd = false;
  while (!ArgListEnd) {
    DeclaredName declared = ParseDeclaredName();
    if (!declared.dimensions.Empty()) DeclareNamedArray(declared.name.View(), declared.dimensions.View());
    else if (declared.name.View().back() == '#') DeclareAreaVariable(declared.name.View());
    else AppendScalar(declared.name, 0);
  }
  LineHandled = true;
}

void DeclareParametersCommand() {
  ArgListEnd = false;
  // Parameters beyond the fifteenth have no slot: they start as 0 or empty.
  for (int k = 1; !ArgListEnd; ++k) {
    DeclaredName declared = ParseDeclaredName();
    AppendScalar(declared.name, k);
  }
  LineHandled = true;
}

void PassArguments() {
  // No arguments when the text is, as a byte string, not greater than one blank.
  std::string_view rest = RestOfLine;
  ArgListEnd = rest.empty() || static_cast<uint8_t>(rest.front()) < 0x20 || rest == " ";
  int i = 1;
  while (i < 16 && !ArgListEnd) {
    // Whatever runs while the argument is evaluated cannot change the slots. Only a
    // function call can change them, so the copy is needed only when one may run.
    if (RestOfLine.find('@') != std::string_view::npos) {
      ArgumentSlots saved = ArgSlots;
      ReadArgument('p', kKindAny);
      ArgSlots = saved;
    } else {
      ReadArgument('p', kKindAny);
    }
    StoreRegistersInSlot(i);
    ++i;
  }
  ArgCount = i - 1;
}

}  // namespace morven
