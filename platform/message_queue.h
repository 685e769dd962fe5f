#pragma once
// The message queue with Windows message numbers. Host events become messages
// {window, number, wParam, lParam}; window procedures see them only when the runtime
// pumps (PumpMessages, waits, modal boxes) — at the moments the runtime defines.
#include <cstdint>

namespace morven::platform {

// Message numbers programs can observe; they are Windows' own.
enum : uint32_t {
  kWmNull = 0x0000,
  kWmCreate = 0x0001,
  kWmDestroy = 0x0002,
  kWmMove = 0x0003,
  kWmSize = 0x0005,
  kWmSetFocus = 0x0007,
  kWmKillFocus = 0x0008,
  kWmSetText = 0x000C,
  kWmPaint = 0x000F,
  kWmClose = 0x0010,
  kWmQuit = 0x0012,
  kWmGetMinMaxInfo = 0x0024,
  kWmKeyDown = 0x0100,
  kWmKeyUp = 0x0101,
  kWmChar = 0x0102,
  kWmSysKeyDown = 0x0104,
  kWmSysKeyUp = 0x0105,
  kWmSysChar = 0x0106,
  kWmLastKeyboard = 0x0108,
  kWmCommand = 0x0111,
  kWmSysCommand = 0x0112,
  kWmTimer = 0x0113,
  kWmHScroll = 0x0114,
  kWmVScroll = 0x0115,
  kWmMouseMove = 0x0200,
  kWmLButtonDown = 0x0201,
  kWmLButtonUp = 0x0202,
  kWmRButtonDown = 0x0204,
  kWmRButtonUp = 0x0205,
  kWmLastMouse = 0x0209,
  kWmParentNotify = 0x0210,
};

// WM_SIZE's wParam.
enum : uint32_t { kSizeRestored = 0, kSizeMinimized = 1, kSizeMaximized = 2 };
// The system command of the close box and Alt+F4.
constexpr uint32_t kScClose = 0xF060;
// Mouse button flags in wParam of the mouse messages.
enum : uint32_t { kMkLButton = 0x1, kMkRButton = 0x2 };
// The smallest timer interval; shorter ones are raised to it, as Windows does.
constexpr uint32_t kTimerMinimum = 10;

struct Message {
  uint32_t window = 0;
  uint32_t number = 0;
  uint32_t wparam = 0;
  int32_t lparam = 0;
  // For key-down messages: the character (Windows-1252) that TranslateMessage makes
  // of it, or -1. Not part of what programs see.
  int32_t character = -1;
};

// lParam of mouse messages: x in the low word, y in the high word.
constexpr int32_t PointParam(int32_t x, int32_t y) {
  return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) | (static_cast<uint32_t>(x) & 0xFFFFu));
}

using WindowProcedure = int32_t (*)(const Message& message);

// The procedure that receives the messages of a window (nullptr removes it).
void SetWindowProcedure(uint32_t window, WindowProcedure procedure);

void PostMessage(const Message& message);

// PostQuitMessage: the quit message is delivered when the queue is looked at next.
void PostQuitMessage();

// Looks at the oldest message (after letting the host deliver its events); removes it
// when asked. Posted messages come first, then a paint request of a window whose
// picture was invalidated, then an elapsed timer. False when there is nothing.
bool PeekMessage(Message& out, bool remove);

// Hands a message to its window's procedure; windows without one get the default
// handling (DefWindowProc).
int32_t DispatchMessage(const Message& message);

// SendMessage: the window's procedure runs at once.
int32_t SendMessage(uint32_t window, uint32_t number, uint32_t wparam, int32_t lparam);

// A key-down that makes a character puts the character message (WM_CHAR, or
// WM_SYSCHAR for a system key) next in the queue.
void TranslateMessage(const Message& message);

// Lets the host deliver its events, then translates and dispatches every message.
void PumpMessages();

// Blocks until a message is there (WaitMessage). While the program waits, the user
// acts: the host's events, or in an automated run the next lines of the input script.
void WaitMessage();

// GetMessage: waits for the next message and removes it.
Message GetMessage();

// Timers (SetTimer without a callback): every interval a WM_TIMER with wParam = id
// arrives for the window. Starting an existing timer restarts it.
void SetTimer(uint32_t window, uint32_t id, uint32_t interval);
// False when there was no such timer.
bool KillTimer(uint32_t window, uint32_t id);
// When the next timer is due (in TickCount milliseconds); false without timers.
bool NextTimerDue(uint32_t& due);

// Drops the queued messages of a window that no longer exists, and its timers.
void ForgetWindowMessages(uint32_t window);

}  // namespace morven::platform
