#pragma once
// Facts about the host that programs read as Windows would report them.
#include <cstdint>

namespace morven::platform {

// The value Windows' version query returns: major version in the lowest byte, minor
// version in the second, build number in the high word. We report 5.1, build 2600.
uint32_t WindowsVersion();

// The Windows and system directories as programs see them (Windows-1252):
// "C:\WINDOWS" and "C:\WINDOWS\SYSTEM32", on the drive C of the host mapping.
const char* WindowsDirectory();
const char* SystemDirectory();

}  // namespace morven::platform
