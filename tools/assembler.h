#pragma once
// `morven asm`: turns a listing (.mva) into a compiled program (.mvc).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/listing_format.h"

namespace morven::listing {

struct AssembleResult {
  std::optional<Program> program;      // empty when there were errors
  std::vector<std::string> errors;     // "FILE:LINE: message"
  std::vector<std::string> warnings;   // "FILE:LINE: warning: message" or "FILE: warning: ..."
};

// Assembles listing text; `file_name` is used in the messages.
AssembleResult Assemble(std::string_view text, const std::string& file_name);

}  // namespace morven::listing

namespace morven {

// morven asm IN.mva OUT.mvc; argv[0] is "asm". Returns the process exit code.
int RunAssembler(int argc, char** argv);

}  // namespace morven
