#pragma once
// Area variables (suffix "#"): raw memory blocks whose value is the block's address,
// so that programs can hand them to library calls and to block file I/O.
#include <cstdint>
#include <string_view>

namespace morven {

struct AreaVariable {
  char name[32];
  uint8_t name_length = 0;
  uint8_t* block = nullptr;  // below 2 GiB; size + 1 bytes (a spare byte for a text's zero)
  int32_t size = 0;
};

// From 0xCC: a new area variable without a block.
void DeclareAreaVariable(std::string_view name);

// The newest area variable of that name, or nullptr.
AreaVariable* FindAreaVariable(std::string_view name);

// The area-name argument of the area functions: the text up to the next "," (not
// evaluated), trimmed and upper case; message 121 unless it ends with "#", 215 when
// no area variable has that name.
AreaVariable& AreaArgument();

// The 32-bit value programs see for a block.
int32_t AreaAddress(const AreaVariable& area);

// For the argument reader: fills the registers with the block's address (0 and
// message 243 when it has none); false when no area variable has that name.
bool ReadAreaVariable(std::string_view name);

void DimensionAreaCommand();  // 0x6F
void ReleaseAreaCommand();    // 0x6E
void StoreAreaByteCommand();  // 0x6D
void StoreAreaWordCommand();  // 0x6C
void StoreAreaLongCommand();  // 0x56
void StoreAreaTextZeroCommand();  // 0x6B
void StoreAreaTextCommand();      // 0x55
void LoadAreaTextFileCommand();   // 0x6A

}  // namespace morven
