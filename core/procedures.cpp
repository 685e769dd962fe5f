#include "core/procedures.h"

#include "core/control_flow.h"
#include "core/program_state.h"
#include "core/variables.h"

namespace morven {

void CallUserProcedure() {
  LineHandled = true;
  ArgCount = 0;
  PushCallFrame();
  // The target line follows the token as two bytes, low byte first.
  auto byte_at = [](size_t i) { return i < RestOfLine.size() ? static_cast<uint8_t>(RestOfLine[i]) : 0; };
  int32_t target = byte_at(0) | (byte_at(1) << 8);
  RestOfLine.remove_prefix(RestOfLine.size() < 2 ? RestOfLine.size() : 2);
  CurrentLine = target;
  PassArguments();
}

}  // namespace morven
