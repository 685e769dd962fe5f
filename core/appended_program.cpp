#include "core/appended_program.h"

namespace morven {

// Initialised data, so that the field lies in the executable file where `morven bind`
// can patch it; volatile, so that the compiler reads the patched value instead of
// folding the initial 0. Deliberately not const: a const object may also be copied
// into debug information, and the marker must occur exactly once in the file.
__attribute__((used)) volatile AppendedProgramField g_appended_program_field = {
    {'M', 'O', 'R', 'V', 'E', 'N', ':', 'A', 'P', 'P', 'E', 'N', 'D', 'E', 'D', '-',
     'P', 'R', 'O', 'G', 'R', 'A', 'M', ':'},
    0,
};

uint32_t AppendedProgramPosition() { return g_appended_program_field.position; }

}  // namespace morven
