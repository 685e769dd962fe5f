#pragma once
// Statements that change scalar variables or set one global value.
namespace morven {

void AssignmentCommand();       // 0xCE
void InputCommand();            // 0xCD
void IncrementCommand();        // 0xD0
void DecrementCommand();        // 0xD1
void AddToCommand();            // 0xD2
void SubtractFromCommand();     // 0xD3
void SetMenuCommandCommand();   // 0x5E
void SetTrueColorCommand();     // 0x5D

}  // namespace morven
