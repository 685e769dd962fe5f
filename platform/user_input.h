#pragma once
// What the user does while the program waits for a message. Interactively that is the
// host's events; in an automated run (MORVEN_INPUT, or headless) it is the next line
// of the input script, turned into the window messages a real user's action would
// make: "type", "key", "click", "menu", "close" and "wait".
#include <cstdint>

namespace morven::platform {

// Called when no message is queued: lets the user act once (one script line, the
// release of a scripted click, some time passing, or one round of host events). With
// the script exhausted in a headless run the user closes the main window, as "close";
// when the program goes on waiting after that, the run ends with exit code 255.
void WaitForUser();

// The pressed-since-last-asked half of GetAsyncKeyState: true once for every time the
// key went down since the previous question.
bool TakeKeyPress(uint8_t vk);

// Key-down messages from the host or the script tell the key state here.
void NoteKeyDown(uint8_t vk);

}  // namespace morven::platform
