#include "functions/string_key.h"

#include <cstdint>

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"

namespace morven {

ShortString TextScrambleKey;

ShortString StringKeyTable(std::string_view key) {
  ShortString table;
  if (key.empty()) return table;
  for (size_t i = 0; i < kShortStringMax; ++i)
    table.Append(static_cast<char>((static_cast<uint8_t>(key[i % key.size()]) & 0x03u) << 6));
  return table;
}

void ApplyStringKey(ShortString& text, const ShortString& table) {
  if (table.length != kShortStringMax) return;
  for (size_t i = 0; i < text.length; ++i) {
    // Byte i + 1 of the text meets table byte 256 - (i + 1), that is index 254 - i.
    auto key = static_cast<uint8_t>(table.bytes[kShortStringMax - 1 - i]);
    auto byte = static_cast<uint8_t>(text.bytes[i]);
    text.bytes[i] = static_cast<char>(byte ^ (key & 0xC0u));
  }
}

void SetStringKeyCommand() {
  ReadArgument(' ', kKindRawString);
  TextScrambleKey = StringKeyTable(StringValue.View());
  LineHandled = true;
}

}  // namespace morven
