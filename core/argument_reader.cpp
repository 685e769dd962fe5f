#include "core/argument_reader.h"

#include <cstring>

#include "core/area_variables.h"
#include "core/arrays.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "core/variables.h"
#include "errors/run_error.h"
#include "functions/dispatcher.h"
#include "functions/system_variables.h"

namespace morven {
namespace {

constexpr uint8_t kDeclareVariablesToken = 0xCC;
constexpr uint8_t kDeclareParametersToken = 0xCF;

void TakeFront(size_t count) { RestOfLine.remove_prefix(count < RestOfLine.size() ? count : RestOfLine.size()); }

// "@" + code: the function reads its own arguments; then its ")" and the separator.
void ReadFunctionCall(char context) {
  uint8_t code = RestOfLine.size() >= 2 ? static_cast<uint8_t>(RestOfLine[1]) : 0;
  TakeFront(2);
  CallFunction(code);
  if (!RestOfLine.empty() && RestOfLine.front() == ')') TakeFront(1);
  if (RestOfLine.empty()) {
    ArgSeparator = ' ';
    if (context == 'p') ArgListEnd = true;
    return;
  }
  char first = RestOfLine.front();
  if (first == context || (context == 'p' && (first == ',' || first == ';'))) {
    ArgSeparator = first;
    TakeFront(1);
  }
}

// Cuts the argument text off the front of RestOfLine into StringValue.
void SplitArgument(char context) {
  if (context == 'p') {
    const size_t missing = RestOfLine.size() + 5;
    size_t comma = FindTopLevel(',', RestOfLine);
    size_t semicolon = FindTopLevel(';', RestOfLine);
    if (comma == 0) comma = missing;
    if (semicolon == 0) semicolon = missing;
    size_t plus = FindTopLevel('+', RestOfLine);
    if (plus != 0 && plus < semicolon) semicolon = plus;
    if (comma == semicolon) {
      // The last item stays in RestOfLine; the caller stops at ArgListEnd.
      StringValue.Assign(RestOfLine);
      ArgSeparator = ' ';
      ArgListEnd = true;
      return;
    }
    size_t at = comma < semicolon ? comma : semicolon;
    StringValue.Assign(RestOfLine.substr(0, at - 1));
    RestOfLine.remove_prefix(at);
    ArgSeparator = comma < semicolon ? ',' : ';';
    if (RestOfLine.empty()) ArgListEnd = true;
    return;
  }
  if (context == ' ') {
    StringValue.Assign(RestOfLine);
    RestOfLine = {};
    ArgSeparator = ' ';
    return;
  }
  size_t at = FindTopLevel(context, RestOfLine);
  if (at == 0) {
    StringValue.Assign(RestOfLine);
    RestOfLine = {};
  } else {
    StringValue.Assign(RestOfLine.substr(0, at - 1));
    RestOfLine.remove_prefix(at);
    if (!RestOfLine.empty() && RestOfLine.front() == ']') TakeFront(1);
  }
  ArgSeparator = context;
}

// A quoted literal: the quotes go, the escapes are resolved in their fixed order.
void ReadQuotedString(uint8_t kind) {
  std::string_view inner = StringValue.View().substr(1);
  if (!inner.empty()) inner.remove_suffix(1);
  ValueType = kTypeString;
  if (inner.find('\\') == std::string_view::npos && inner.find('\x01') == std::string_view::npos) {
    StringValue.Assign(inner);
    return;
  }
  ShortString text = ReplaceAll(inner, "\\\\", "\x01");
  if (kind != kKindRawString) {
    text = ReplaceAll(text.View(), "\\n", "\r");
    text = ReplaceAll(text.View(), "\\a", "\b");
    text = ReplaceAll(text.View(), "\\t", "\t");
    text = ReplaceAll(text.View(), "\\.", "\\");
  }
  StringValue = ReplaceAll(text.View(), "\x01", "\\");
}

// Reads the scalar variable named by StringValue; false when it does not exist (the
// numeric registers then keep their values and ValueType follows the suffix).
bool ReadVariable(char suffix) {
  // The lookup only reads the name; the registers change after it has been found.
  std::string_view name = StringValue.View();
  switch (suffix) {
    case '%':
      ValueType = kTypeInteger;
      if (int32_t* v = FindIntegerVariable(name)) return LoadInteger(*v, kTypeInteger), true;
      return false;
    case '&':
      ValueType = kTypeLong;
      if (int32_t* v = FindLongVariable(name)) return LoadInteger(*v, kTypeLong), true;
      return false;
    case '!':
      ValueType = kTypeFloat;
      if (double* v = FindFloatVariable(name)) return LoadFloat(*v), true;
      return false;
    default:
      ValueType = kTypeString;
      if (ShortString* v = FindStringVariable(name)) return LoadString(*v), true;
      return false;
  }
}

// A system variable (type character first): its reader sets the registers; the text
// form of the numeric ones comes from here.
void ReadSystemVariableArgument(char type) {
  const ShortString name = StringValue;
  ValueType = type == '$' ? kTypeString : type == '!' ? kTypeFloat : type == '&' ? kTypeLong : kTypeInteger;
  ReadSystemVariable(name.View());
  if (type == '%' || type == '&') StringValue = IntegerText(LongValue);
  else if (type == '!') StringValue = FloatText(FloatValue);
}

void ReadNumberLiteral() {
  std::string_view text = StringValue.View();
  ValueType = text.find('.') != std::string_view::npos ? kTypeFloat : kTypeLong;
  LongValue = IntegerPrefix(text);
  IntValue = LongValue;
  if (!FloatParse(text, FloatValue)) {
    ValueType = kTypeString;
    RunWarning(214, text);
  }
}

// The type character that classifies a name, tested in this order: "$" "!" "&" "%",
// each at the end or at the start; 0 when the text has none (a number literal).
char TypeCharacterOf(char first, char last) {
  for (char type : {'$', '!', '&', '%'})
    if (last == type || first == type) return type;
  return 0;
}

// Classifies the (upper-cased) argument text by its last and first character.
void ReadNamedValue() {
  UpperText(StringValue);
  std::string_view text = StringValue.View();
  char first = text.empty() ? '\0' : text.front();
  char last = text.empty() ? '\0' : text.back();
  bool found = true;
  if (last == ']') {
    found = ReadArrayElement(text);
  } else if (last == '#') {
    ValueType = kTypeLong;
    found = ReadAreaVariable(text);
  } else if (char type = TypeCharacterOf(first, last)) {
    if (first == type) ReadSystemVariableArgument(type);
    else found = ReadVariable(type);
  } else {
    ReadNumberLiteral();
  }
  if (!found && CommandToken != kDeclareVariablesToken && CommandToken != kDeclareParametersToken) {
    const ShortString name = StringValue;
    RunWarning(215, name.View());
  }
}

void CheckKind(uint8_t kind) {
  bool wants_string = kind == kKindString || kind == kKindRawString;
  if ((wants_string && ValueType != kTypeString) || (kind == kKindNumber && ValueType == kTypeString)) {
    const ShortString text = StringValue;
    RunError(216, text.View());
  }
}

}  // namespace

void ReadArgument(char context, uint8_t kind) {
  ValueType = kTypeNone;
  if (context == 'p') ArgListEnd = false;
  if (context != 'p' && RestOfLine.empty()) RunError(212, "");

  if (!RestOfLine.empty() && RestOfLine.front() == '@') {
    ReadFunctionCall(context);
  } else {
    SplitArgument(context);
    std::string_view text = StringValue.View();
    if (!text.empty() && text.front() == '"' && text.back() == '"') ReadQuotedString(kind);
    else ReadNamedValue();
  }
  CheckKind(kind);
}

void ReadCorners(char last_context, int32_t corners[4]) {
  static constexpr char kContexts[3] = {',', '-', ','};
  for (int i = 0; i < 3; ++i) {
    ReadArgument(kContexts[i], kKindAny);
    corners[i] = IntValue;
  }
  ReadArgument(last_context, kKindAny);
  corners[3] = IntValue;
}

}  // namespace morven
