// morven: the companion tool of the runtime. Sub-commands:
//   asm  IN.mva OUT.mvc     listing -> compiled program
//   dis  IN.mvc [OUT.mva]   compiled program -> listing (standard output without OUT)
//   bind ...                stand-alone executables
#include <cstring>
#include <iostream>

#include "tools/assembler.h"
#include "tools/bind.h"
#include "tools/disassembler.h"

namespace {

constexpr const char* kUsage =
    "usage: morven asm IN.mva OUT.mvc     assemble a listing into a compiled program\n"
    "       morven dis IN.mvc [OUT.mva]   write the listing of a compiled program\n"
    "                                     (to standard output without OUT.mva)\n"
    "       morven bind ...               build a stand-alone program\n"
    "       morven --help                 show this text\n"
    "The listing format is described in docs/listing.md.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsage;
    return 2;
  }
  const char* command = argv[1];
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 || std::strcmp(command, "help") == 0) {
    std::cout << kUsage;
    return 0;
  }
  if (std::strcmp(command, "asm") == 0) return morven::RunAssembler(argc - 1, argv + 1);
  if (std::strcmp(command, "dis") == 0) return morven::RunDisassembler(argc - 1, argv + 1);
  if (std::strcmp(command, "bind") == 0) return morven::RunBind(argc - 1, argv + 1);
  std::cerr << "morven: unknown command '" << command << "'\n" << kUsage;
  return 2;
}
