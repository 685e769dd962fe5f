#pragma once
// Block control flow: conditional blocks, loops, labels, subroutines and procedures.
// Block ends are found by scanning LineTable forward at run time, counting nesting by
// token; calls push a CallFrame that also saves the four variable-table counts.
#include <cstdint>

namespace morven {

struct CallFrame {
  int32_t return_line;
  int32_t counts[4];  // IntVars, LongVars, StringVars, FloatVars
};

constexpr int32_t kMaxCallDepth = 150;
constexpr int32_t kMaxWhileDepth = 10;

extern int32_t CallDepth;
extern int32_t WhileDepth;
extern int32_t BlockDepth;

void IfTrueBlockCommand();   // 0x85
void IfFalseBlockCommand();  // 0x87
void ElseCommand();          // 0x86 and 0xF3 when executed
void WhileTrueCommand();     // 0x88
void WhileFalseCommand();    // 0x89
void WendCommand();          // 0x8A
void JumpCommand();          // 0x8D
void GosubCommand();         // 0x8E
void ReturnCommand();        // 0x8B
void EndProcCommand();       // 0x8C
void ProcCommand();          // 0x8F reached in the normal flow

// Pushes a frame for a call from CurrentLine (message 114 beyond 150 levels).
void PushCallFrame();

}  // namespace morven
