#pragma once
// The commands of the main loop itself: no-op lines, evaluation lines, the end command.
namespace morven {

void NoOperationCommand();
// 0x40: the rest of the line is one argument (normally a function call); the value is
// discarded.
void EvaluateLineCommand();
// 0x5A: one argument up to the first top-level ","; the rest of the line is ignored.
void EvaluateFirstArgumentCommand();
// 0xBF: the run ends after this statement.
void EndCommand();

}  // namespace morven
