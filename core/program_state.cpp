#include "core/program_state.h"

namespace morven {

std::vector<ShortString> LineTable;
int32_t LineCount = 0;
int32_t CurrentLine = 0;
uint8_t CommandToken = 0;
std::string_view RestOfLine;
bool LineHandled = false;
bool StopRequested = false;
bool ProgramLoaded = false;
uint8_t PumpCounter = 0;
std::vector<std::string> CommandLine;

std::string_view LineText(int32_t n) {
  if (n < 1 || n > LineCount) return {};
  return LineTable[static_cast<size_t>(n)].View();
}

}  // namespace morven
