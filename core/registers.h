#pragma once
// The value registers: every argument and every function result fills all four forms.
#include <cstdint>

#include "core/short_string.h"

namespace morven {

enum : uint8_t {
  kTypeNone = 0,
  kTypeString = 1,
  kTypeInteger = 2,
  kTypeLong = 3,
  kTypeFloat = 4,
};

extern int32_t IntValue;
extern int32_t LongValue;
extern double FloatValue;
extern ShortString StringValue;
extern uint8_t ValueType;
// The separator that ended the last argument (always a single character).
extern char ArgSeparator;
extern bool ArgListEnd;

// Fill every register from a stored value, as reading a variable or element does:
// an integer or long (type 2 or 3), a float, or a string (its integer prefix and float
// parse become the numeric forms).
void LoadInteger(int32_t value, uint8_t type);
void LoadFloat(double value);
void LoadString(const ShortString& value);

}  // namespace morven
