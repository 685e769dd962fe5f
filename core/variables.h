#pragma once
// The scalar variable tables and the argument slots. Names are stored upper case with
// their suffix; lookups compare byte for byte, and the newest entry with a name wins.
// A table is cut back to an earlier count when a procedure returns: that is what makes
// parameters and locals disappear.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/short_string.h"

namespace morven {

constexpr int32_t kVariableCapacity = 499;
constexpr size_t kMaxNameLength = 32;

template <typename Value>
class VariableTable {
 public:
  // The newest variable with this name, or nullptr.
  Value* Find(std::string_view name) {
    const uint32_t hash = NameHash(name);
    for (int32_t i = count_; i >= 1; --i) {
      Entry& e = entries_[i];
      if (e.hash == hash && e.length == name.size() && std::memcmp(e.name, name.data(), name.size()) == 0)
        return &e.value;
    }
    return nullptr;
  }

  // Appends a variable; false (and nothing appended) when the table is full.
  bool Append(std::string_view name, const Value& value) {
    if (count_ >= kVariableCapacity) return false;
    Entry& e = entries_[++count_];
    e.length = static_cast<uint8_t>(name.size() < kMaxNameLength ? name.size() : kMaxNameLength);
    std::memcpy(e.name, name.data(), e.length);
    e.hash = NameHash(std::string_view(e.name, e.length));
    e.value = value;
    return true;
  }

  int32_t Count() const { return count_; }
  // Cuts the table back to a count saved earlier (entries beyond it are dead).
  void CutBack(int32_t count) {
    if (count >= 0 && count < count_) count_ = count;
  }
  void Clear() { count_ = 0; }

 private:
  struct Entry {
    uint32_t hash = 0;
    uint8_t length = 0;
    char name[kMaxNameLength];
    Value value{};
  };

  // A quick filter before the byte comparison; it cannot change which entry is found.
  static uint32_t NameHash(std::string_view name) {
    uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
  }

  Entry entries_[kVariableCapacity + 1];  // 1..499
  int32_t count_ = 0;
};

extern VariableTable<int32_t> IntVars;
extern VariableTable<int32_t> LongVars;
extern VariableTable<ShortString> StringVars;
extern VariableTable<double> FloatVars;

// The storage of the newest variable with this name, or nullptr when none exists.
int32_t* FindIntegerVariable(std::string_view name);
int32_t* FindLongVariable(std::string_view name);
ShortString* FindStringVariable(std::string_view name);
double* FindFloatVariable(std::string_view name);

// Slots 1..15 carry the arguments of the last call, slot 0 the last return value. The
// layout is one block of 4352 bytes, copied whole around each argument's evaluation.
struct ArgumentSlots {
  int32_t integers[16];
  int32_t longs[16];
  double floats[16];
  ShortString strings[16];
};
static_assert(sizeof(ArgumentSlots) == 4352);

extern ArgumentSlots ArgSlots;
extern int32_t ArgCount;

// Stores the value registers into slot i.
void StoreRegistersInSlot(int i);

// Declaration commands: 0xCC (variables, area variables, named arrays) and 0xCF
// (procedure parameters, filled from the argument slots).
void DeclareVariablesCommand();
void DeclareParametersCommand();

// Reads the arguments of a procedure call from RestOfLine into slots 1..15.
void PassArguments();

}  // namespace morven
