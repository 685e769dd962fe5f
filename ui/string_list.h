#pragma once
// The StringList: one process-wide list of up to 32768 strings that the program fills
// (item by item, from directory listings, from window titles) and the list dialogs
// show and change.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"

namespace morven {

constexpr int32_t kStringListCapacity = 32768;

namespace string_list {

void Clear();
// False when the list already holds 32768 items.
bool Add(std::string_view text);
// False unless 0 <= index <= Last().
bool Set(int32_t index, std::string_view text);
// The item, or nullptr for an index outside 0..Last().
const ShortString* Get(int32_t index);
int32_t Count();
// The index of the last item, -1 when the list is empty.
inline int32_t Last() { return Count() - 1; }

}  // namespace string_list

void ListClearCommand();  // 0xDC
void ListAddCommand();    // 0xDD
void ListSetCommand();    // 0xF4
void ListFilesCommand();  // 0xDE

}  // namespace morven
