#pragma once
// The position field of a stand-alone program. A stand-alone program is a copy of the
// runtime's executable with a compiled program appended; the copy's position field
// holds the file position where the appended program's header starts (0: nothing is
// appended). `morven bind` finds the field by its marker and fills it in.
#include <cstdint>

namespace morven {

// The marker is "MORVEN:APPENDED-PROGRAM:" (24 bytes). It is spelled out only in the
// field's initialiser and assembled from two halves by the tool: a string constant here
// would also be copied into the runtime's debug information, and the marker must occur
// exactly once in the executable.
constexpr unsigned kAppendedProgramMarkerSize = 24;

// The field as it lies in the executable: the marker, then the 32-bit position,
// little-endian.
struct AppendedProgramField {
  char marker[kAppendedProgramMarkerSize];
  uint32_t position;
};

// The position stored in this executable's field.
uint32_t AppendedProgramPosition();

}  // namespace morven
