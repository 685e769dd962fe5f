#pragma once
// Facts about the host that programs read as Windows would report them.
#include <cstdint>

namespace morven::platform {

// The value Windows' version query returns: major version in the lowest byte, minor
// version in the second, build number in the high word. We report 5.1, build 2600.
uint32_t WindowsVersion();

}  // namespace morven::platform
