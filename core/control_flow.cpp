#include "core/control_flow.h"

#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "core/text_ops.h"
#include "core/variables.h"
#include "errors/run_error.h"

namespace morven {

int32_t CallDepth = 0;
int32_t WhileDepth = 0;
int32_t BlockDepth = 0;

namespace {

enum : uint8_t {
  kEndIf = 0x84,
  kIfTrue = 0x85,
  kElse = 0x86,
  kIfFalse = 0x87,
  kWhileTrue = 0x88,
  kWhileFalse = 0x89,
  kWend = 0x8A,
  kEndProc = 0x8C,
  kProc = 0x8F,
  kElseIf = 0xF3,
};

CallFrame g_call_stack[kMaxCallDepth + 1];  // frame 0 is never used
int32_t g_while_stack[kMaxWhileDepth + 1];

uint8_t TokenAt(int32_t line) {
  std::string_view text = LineText(line);
  return text.empty() ? 0 : static_cast<uint8_t>(text.front());
}

bool ReadCondition() {
  ReadArgument(' ', kKindAny);
  return IntValue != 0;
}

// The common forward scan: moves CurrentLine line by line; `stop` decides at each
// line (it may change BlockDepth). Raises `not_found` when the program ends first.
template <typename Stop>
void ScanForward(Stop stop, int32_t not_found) {
  BlockDepth = 0;
  while (CurrentLine < LineCount) {
    ++CurrentLine;
    if (stop(TokenAt(CurrentLine))) return;
  }
  RunError(not_found, "");
}

// Counts nested blocks of `open` tokens; stops at `close` at depth 0.
template <typename... Open>
bool NestedStop(uint8_t token, uint8_t close, Open... open) {
  if (((token == open) || ...)) {
    ++BlockDepth;
  } else if (token == close) {
    if (BlockDepth == 0) return true;
    --BlockDepth;
  }
  return false;
}

// A false conditional block: stop at its ENDIF, its ELSE, or an else-if whose own
// condition is true (never inverted).
void SkipConditionalBlock(int32_t not_found) {
  ScanForward(
      [](uint8_t token) {
        if (BlockDepth == 0 && token == kElse) return true;
        if (BlockDepth == 0 && token == kElseIf) {
          RestOfLine = LineText(CurrentLine).substr(1);
          return ReadCondition();
        }
        return NestedStop(token, kEndIf, kIfTrue, kIfFalse);
      },
      not_found);
}

void ConditionalBlock(bool enter_when) {
  LineHandled = true;
  if (ReadCondition() == enter_when) return;
  SkipConditionalBlock(enter_when ? 106 : 107);
}

void Loop(bool run_when) {
  LineHandled = true;
  bool condition = ReadCondition();
  if (WhileDepth >= kMaxWhileDepth) RunError(108, "");
  g_while_stack[++WhileDepth] = CurrentLine;
  if (condition == run_when) return;
  ScanForward([](uint8_t token) { return NestedStop(token, kWend, kWhileTrue, kWhileFalse); }, 109);
  --WhileDepth;
}

// The label key: the name, ":" appended, upper case.
ShortString ReadLabelKey() {
  ReadArgument(' ', kKindString);
  ShortString key = StringValue;
  key.Append(':');
  UpperText(key);
  return key;
}

void JumpToLabel(const ShortString& key) {
  for (int32_t n = 1; n <= LineCount; ++n) {
    std::string_view text = LineText(n);
    if (text.size() < 1u + key.length) continue;
    ShortString head(text.substr(1, key.length));
    UpperText(head);
    if (head.View() == key.View()) {
      CurrentLine = n;
      return;
    }
  }
  CurrentLine = LineCount;
  RunError(113, key.View());
}

void ReturnFromCall() {
  const CallFrame& frame = g_call_stack[CallDepth];
  CurrentLine = frame.return_line;
  IntVars.CutBack(frame.counts[0]);
  LongVars.CutBack(frame.counts[1]);
  StringVars.CutBack(frame.counts[2]);
  FloatVars.CutBack(frame.counts[3]);
  --CallDepth;
}

}  // namespace

void PushCallFrame() {
  if (CallDepth >= kMaxCallDepth) RunError(114, "");
  CallFrame& frame = g_call_stack[++CallDepth];
  frame.return_line = CurrentLine;
  frame.counts[0] = IntVars.Count();
  frame.counts[1] = LongVars.Count();
  frame.counts[2] = StringVars.Count();
  frame.counts[3] = FloatVars.Count();
}

void IfTrueBlockCommand() { ConditionalBlock(true); }
void IfFalseBlockCommand() { ConditionalBlock(false); }

void ElseCommand() {
  LineHandled = true;
  ScanForward([](uint8_t token) { return NestedStop(token, kEndIf, kIfTrue, kIfFalse); }, 107);
}

void WhileTrueCommand() { Loop(true); }
void WhileFalseCommand() { Loop(false); }

void WendCommand() {
  LineHandled = true;
  if (WhileDepth == 0) RunError(110, "");
  CurrentLine = g_while_stack[WhileDepth] - 1;
  --WhileDepth;
}

void JumpCommand() {
  LineHandled = true;
  JumpToLabel(ReadLabelKey());
}

void GosubCommand() {
  LineHandled = true;
  const ShortString key = ReadLabelKey();
  PushCallFrame();
  JumpToLabel(key);
}

void ReturnCommand() {
  LineHandled = true;
  if (!RestOfLine.empty() && RestOfLine > std::string_view(" ")) {
    ReadArgument(' ', kKindAny);
    StoreRegistersInSlot(0);
  }
  if (CallDepth == 0) RunError(111, "");
  ReturnFromCall();
}

void EndProcCommand() {
  LineHandled = true;
  if (CallDepth == 0) RunError(112, "");
  ReturnFromCall();
}

void ProcCommand() {
  LineHandled = true;
  ScanForward([](uint8_t token) { return NestedStop(token, kEndProc, kProc); }, 115);
}

}  // namespace morven
