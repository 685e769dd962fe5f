// Reading area variables byte-wise: bytes, words, longs and texts at an offset.
#include "core/area_variables.h"
#include "core/argument_reader.h"
#include "core/registers.h"
#include "errors/run_error.h"
#include "functions/function_table.h"

namespace morven {
namespace {

// The area and offset arguments; the value of `width` bytes must lie inside the area.
const uint8_t* ValueAt(char last_context, int32_t width, AreaVariable*& area_out, int32_t& offset_out) {
  AreaVariable& area = AreaArgument();
  ReadArgument(last_context, kKindAny);
  int32_t offset = LongValue;
  if (offset < 0 || offset > area.size || static_cast<int64_t>(offset) + width > area.size) RunError(207, "");
  area_out = &area;
  offset_out = offset;
  return area.block + offset;
}

uint32_t LittleEndian(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void ReadNumber(int width) {
  AreaVariable* area;
  int32_t offset;
  const uint8_t* p = ValueAt(')', width, area, offset);
  LongValue = static_cast<int32_t>(LittleEndian(p, width));
  ValueType = kTypeLong;
}

void AreaByte() { ReadNumber(1); }
void AreaWord() { ReadNumber(2); }
void AreaLong() { ReadNumber(4); }

// The text at offset: up to a zero byte, `limit` bytes, or the end of the area.
void ReadText(bool with_limit) {
  AreaVariable* area;
  int32_t offset;
  const uint8_t* p = ValueAt(with_limit ? ',' : ')', 0, area, offset);
  int32_t limit = 256;
  if (with_limit) {
    ReadArgument(')', kKindAny);
    limit = IntValue;
  }
  ShortString text;
  for (int32_t i = 0; i < limit && offset + i < area->size && p[i] != 0; ++i) text.Append(static_cast<char>(p[i]));
  StringValue = text;
  ValueType = kTypeString;
}

void AreaString() { ReadText(false); }
void AreaStringN() { ReadText(true); }

constexpr FunctionEntry kAreaFunctions[] = {
    {0x5C, AreaByte}, {0x5B, AreaWord}, {0x5A, AreaLong}, {0x59, AreaString}, {0x46, AreaStringN},
};

}  // namespace

std::span<const FunctionEntry> AreaFunctions() { return kAreaFunctions; }

}  // namespace morven
