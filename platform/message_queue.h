#pragma once
// The message queue with Windows message numbers. Host events become messages
// {window, number, wParam, lParam}; window procedures see them only when the runtime
// pumps (PumpMessages, waits, modal boxes) — at the moments the runtime defines.
#include <cstdint>

namespace morven::platform {

// Message numbers programs can observe; they are Windows' own.
enum : uint32_t {
  kWmNull = 0x0000,
  kWmDestroy = 0x0002,
  kWmPaint = 0x000F,
  kWmClose = 0x0010,
  kWmQuit = 0x0012,
  kWmKeyDown = 0x0100,
  kWmKeyUp = 0x0101,
  kWmChar = 0x0102,
  kWmCommand = 0x0111,
  kWmTimer = 0x0113,
  kWmMouseMove = 0x0200,
  kWmLButtonDown = 0x0201,
  kWmLButtonUp = 0x0202,
  kWmRButtonDown = 0x0204,
  kWmRButtonUp = 0x0205,
};

struct Message {
  uint32_t window = 0;
  uint32_t number = 0;
  uint32_t wparam = 0;
  int32_t lparam = 0;
};

using WindowProcedure = int32_t (*)(const Message& message);

// The procedure that receives the messages of a window (nullptr removes it).
void SetWindowProcedure(uint32_t window, WindowProcedure procedure);

void PostMessage(const Message& message);

// Looks at the oldest queued message (after letting the host deliver its events);
// removes it when asked. False when the queue is empty.
bool PeekMessage(Message& out, bool remove);

// Hands a message to its window's procedure; 0 when the window has none.
int32_t DispatchMessage(const Message& message);

// Lets the host deliver its events, then dispatches every queued message.
void PumpMessages();

}  // namespace morven::platform
