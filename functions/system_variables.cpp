#include "functions/system_variables.h"

#include <cctype>
#include <cstdio>

#include "console/console_variables.h"
#include "core/not_built.h"
#include "core/number_text.h"
#include "core/registers.h"
#include "core/variables.h"
#include "core/input_state.h"
#include "core/program_state.h"
#include "data/dbase_functions.h"
#include "data/io_state.h"
#include "platform/host_files.h"
#include "ui/string_list.h"
#include "errors/run_error.h"
#include "functions/system_variable_names.h"
#include "platform/clock.h"
#include "platform/host_info.h"
#include "ui/dialog_state.h"

namespace morven {
namespace {

constexpr char kVersionText[] = "6.0-NT";

// The value of a known code in the registers; false for a code this version of the
// runtime does not know (the name may then still be a radix literal).
bool ReadKnownCode(uint8_t code) {
  switch (code) {
    case 0x81: IntValue = DialogResult; return true;
    case 0x82: IntValue = LastInputInteger; return true;
    case 0x83: LongValue = LastInputLong; return true;
    case 0x84: FloatValue = LastInputFloat; return true;
    case 0x85: StringValue = LastInputText; return true;
    case 0x86: IntValue = string_list::Last(); return true;
    case 0x93:
      IntValue = PendingIoError | PendingListingError;
      PendingIoError = 0;
      PendingListingError = 0;
      return true;
    case 0x95: StringValue.Assign(std::string(1, platform::CurrentDrive()) + ":"); return true;
    case 0x97: StringValue.Assign(platform::WindowsDirectory()); return true;
    case 0x98: StringValue.Assign(platform::SystemDirectory()); return true;
    case 0xB0: IntValue = static_cast<int32_t>(CommandLine.size()) - 1; return true;
    case 0x94:
      IntValue = ErrorState;
      ErrorState = 0;
      return true;
    case 0x99: {
      uint32_t v = platform::WindowsVersion();
      LongValue = static_cast<int32_t>(v);
      char text[16];
      std::snprintf(text, sizeof text, "%u.%u", (v >> 24) & 0xFF, (v >> 16) & 0xFF);
      StringValue.Assign(text);
      return true;
    }
    case 0x9A: {
      uint32_t v = platform::WindowsVersion();
      LongValue = static_cast<int32_t>(v);
      char text[16];
      std::snprintf(text, sizeof text, "%u.%u", v & 0xFF, (v >> 8) & 0xFF);
      StringValue.Assign(text);
      return true;
    }
    case 0xBB: LongValue = LastErrorNumber; return true;
    case 0xBF:
    case 0xC9: IntValue = 1; return true;
    case 0xC0: LongValue = static_cast<int32_t>(platform::TickCount()); return true;
    case 0xC4: StringValue.Assign(kVersionText); return true;
    case 0xC5: IntValue = ArgCount; return true;
    case 0xA0: case 0xA1: case 0xA2: case 0xA3: case 0xA4: case 0xA5: case 0xA6: case 0xA7:
    case 0xA8: case 0xA9: case 0xAA: case 0xAB: case 0xAC: case 0xC2: case 0xC3:
      return ReadTableVariable(code);
    default: return ReadConsoleVariable(code);
  }
}

// "&" + octal or "%" + binary digits: blanks, one "-" before the digits, digits; a "-"
// after digits ends the number; anything else fails.
bool ConvertBase(std::string_view digits, int base, int32_t& value) {
  size_t i = 0;
  while (i < digits.size() && digits[i] == ' ') ++i;
  bool negative = false;
  if (i < digits.size() && digits[i] == '-') {
    negative = true;
    ++i;
  }
  uint32_t v = 0;
  size_t count = 0;
  for (; i < digits.size(); ++i) {
    char c = digits[i];
    if (c == '-' && count > 0) break;
    int d = c - '0';
    if (d < 0 || d >= base) return false;
    v = v * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    ++count;
  }
  if (count == 0) return false;
  value = static_cast<int32_t>(negative ? 0u - v : v);
  return true;
}

// "$" + hex digits (a decimal conversion in which a leading "$" means hexadecimal),
// "&" + octal, "%" + binary. "!" names are never literals.
bool ReadRadixLiteral(std::string_view name) {
  int32_t value = 0;
  switch (name.front()) {
    case '$': {
      // The whole name must be a number in that convention.
      std::string_view hex = name.substr(1);
      if (hex.empty()) return false;
      for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
      value = IntegerPrefix(name);
      break;
    }
    case '&':
      if (!ConvertBase(name.substr(1), 8, value)) return false;
      break;
    case '%':
      if (!ConvertBase(name.substr(1), 2, value)) return false;
      break;
    default:
      return false;
  }
  LongValue = value;
  IntValue = value;
  StringValue = FormatInteger(value, 0);
  return true;
}

}  // namespace

void ReadSystemVariable(std::string_view name) {
  const ShortString copy(name);
  name = copy.View();
  IntValue = 0;
  LongValue = 0;
  FloatValue = 0;
  uint8_t code = name.size() >= 2 ? static_cast<uint8_t>(name[1]) : 0;
  bool known = false;
  if (name.size() == 2 && SystemVariableName(code) != nullptr) {
    known = ReadKnownCode(code);
    if (!known) {
      char what[64];
      std::snprintf(what, sizeof what, "system variable 0x%02X (%s)", code, SystemVariableName(code));
      NotAvailable(what);
    }
  } else {
    known = ReadRadixLiteral(name);
  }
  if (LongValue == 0) LongValue = IntValue;
  if (IntValue == 0) IntValue = LongValue;
  if (FloatValue == 0) FloatValue = LongValue;
  if (!known) RunError(100, "");
}

}  // namespace morven
