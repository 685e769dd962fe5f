#include "core/variables.h"

#include "core/registers.h"

namespace morven {

VariableTable<int32_t> IntVars;
VariableTable<int32_t> LongVars;
VariableTable<ShortString> StringVars;
VariableTable<double> FloatVars;

ArgumentSlots ArgSlots{};
int32_t ArgCount = 0;

int32_t* FindIntegerVariable(std::string_view name) { return IntVars.Find(name); }
int32_t* FindLongVariable(std::string_view name) { return LongVars.Find(name); }
ShortString* FindStringVariable(std::string_view name) { return StringVars.Find(name); }
double* FindFloatVariable(std::string_view name) { return FloatVars.Find(name); }

void StoreRegistersInSlot(int i) {
  ArgSlots.integers[i] = IntValue;
  ArgSlots.longs[i] = LongValue;
  ArgSlots.floats[i] = FloatValue;
  ArgSlots.strings[i] = StringValue;
}

}  // namespace morven
