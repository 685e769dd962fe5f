#pragma once
// The event state that the window procedures record and the program reads, the key
// buffer with PushKey and ReadKey, and the line editor of console INPUT.
#include <cstdint>

#include "core/short_string.h"

namespace morven {

// The number of the last menu command, or minus the id of a notifying control; 255 is
// what the single item of the default menu bar delivers (seen as 254 from the next
// statement on).
extern int16_t MenuCommand;

struct LastMessageState {
  uint32_t window = 0;
  uint32_t number = 0;
  uint32_t wparam = 0;
  int32_t lparam = 0;
};

struct EventState {
  uint8_t key_buffer[64] = {};
  uint16_t key_count = 0;
  uint8_t last_char = 0;      // LastChar: 0 none
  uint8_t last_key_down = 0;  // LastKeyDown: 0 none
  uint8_t key_char = 0;       // KeyChar: LastChar when the last wait ended
  uint16_t mouse_x = 0;
  uint16_t mouse_y = 0;
  bool left_button = false;
  bool right_button = false;
  bool left_child_click = false;
  bool right_child_click = false;
  uint32_t focus_window = 0;  // FocusWindow
  bool timer_fired = false;
  bool paint_requested = false;
  bool help_enabled = false;
  bool help_key = false;
  bool input_seen = false;
  LastMessageState last_message;
  uint32_t dialog_window = 0;
  bool has_focus = false;
  uint32_t partner_window = 0;
  bool timer_running = false;
  uint32_t timer_window = 0;
};

extern EventState Events;

// The key entry point of the window procedures: Ctrl+C ends the run; the code (a 0
// counts as 1) becomes LastChar and joins the key buffer while it has room.
void PushKey(uint8_t code);

// Letting messages through, then asking: a key buffered, a character, a key-down, a
// mouse button down in the window or on a control.
bool KeyWaiting();
bool CharWaiting();
bool KeyDownWaiting();
bool LeftDown();
bool RightDown();
bool LeftChild();
bool RightChild();

// Takes the oldest buffered code, letting messages through until there is one.
uint8_t ReadKey();

// Reads one line for the console input stream of `capacity` bytes: the typed
// characters (at most capacity - 2), echoed at the text cursor, Backspace taking the
// last one back, until Enter. The line is returned without its Enter.
void LineEditor(ShortString& line, int capacity);

}  // namespace morven
