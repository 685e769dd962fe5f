#pragma once
// `morven dis`: writes the listing (.mva) of a compiled program (.mvc).
#include <string>

#include "tools/listing_format.h"

namespace morven::listing {

// The listing text of a program. `morven asm` turns it back into the same file bytes.
std::string Disassemble(const Program& program);

}  // namespace morven::listing

namespace morven {

// morven dis IN.mvc [OUT.mva]; argv[0] is "dis". Returns the process exit code.
int RunDisassembler(int argc, char** argv);

}  // namespace morven
