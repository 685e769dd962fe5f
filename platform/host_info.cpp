#include "platform/host_info.h"

namespace morven::platform {

uint32_t WindowsVersion() { return (2600u << 16) | (1u << 8) | 5u; }

const char* WindowsDirectory() { return "C:\\WINDOWS"; }
const char* SystemDirectory() { return "C:\\WINDOWS\\SYSTEM32"; }

}  // namespace morven::platform
