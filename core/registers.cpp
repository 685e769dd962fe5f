#include "core/registers.h"

#include "core/number_text.h"
#include "functions/six_byte_real.h"

namespace morven {

int32_t IntValue = 0;
int32_t LongValue = 0;
double FloatValue = 0.0;
ShortString StringValue;
uint8_t ValueType = kTypeNone;
char ArgSeparator = ' ';
bool ArgListEnd = false;

void LoadInteger(int32_t v, uint8_t type) {
  IntValue = v;
  LongValue = v;
  FloatValue = v;
  StringValue = IntegerText(v);
  ValueType = type;
}

void LoadFloat(double v) {
  IntValue = FloatToLong(v);
  LongValue = IntValue;
  FloatValue = v;
  StringValue = FloatText(v);
  ValueType = kTypeFloat;
}

void LoadString(const ShortString& v) {
  IntValue = IntegerPrefix(v.View());
  LongValue = IntValue;
  FloatParse(v.View(), FloatValue);
  StringValue = v;
  ValueType = kTypeString;
}

}  // namespace morven
