#pragma once
// The value of the last line the input command read, one field per target type.
#include <cstdint>

#include "core/short_string.h"

namespace morven {

extern ShortString LastInputText;
extern int32_t LastInputInteger;
extern int32_t LastInputLong;
extern double LastInputFloat;

}  // namespace morven
