#pragma once
// The wait commands, the wait for one message, the program timer and the end of the
// partner protocol.
namespace morven {

void WaitKeyDownCommand();    // 0xC0
void WaitCharCommand();       // 0xC1
void WaitMouseCommand();      // 0xC2
void WaitInputCommand();      // 0xC3
void WaitOneMessageCommand(); // 0x44
void StartTimerCommand();     // 0x4F
void StopTimerCommand();      // 0x4E
void EndPartnerCommand();     // 0x57

}  // namespace morven
