#include "console/event_state.h"

#include "console/message_pump.h"
#include "console/text_screen.h"
#include "platform/message_queue.h"

namespace morven {

int16_t MenuCommand = 0;
EventState Events;

void PushKey(uint8_t code) {
  if (code == 3) Halt(255);  // Ctrl+C
  Events.last_char = code == 0 ? 1 : code;
  Events.help_key = code == 5 && Events.help_enabled;
  if (Events.key_count < sizeof Events.key_buffer) Events.key_buffer[Events.key_count++] = Events.last_char;
}

bool KeyWaiting() {
  PumpMessages();
  return Events.key_count > 0;
}

bool CharWaiting() {
  PumpMessages();
  return Events.last_char != 0;
}

bool KeyDownWaiting() {
  PumpMessages();
  return Events.last_key_down != 0;
}

bool LeftDown() {
  PumpMessages();
  return Events.left_button;
}

bool RightDown() {
  PumpMessages();
  return Events.right_button;
}

bool LeftChild() {
  PumpMessages();
  return Events.left_child_click;
}

bool RightChild() {
  PumpMessages();
  return Events.right_child_click;
}

uint8_t ReadKey() {
  // Waiting for the next message between the checks (rather than polling) lets the
  // user, or the input script, act; the codes arrive the same and in the same order.
  while (!KeyWaiting()) platform::WaitMessage();
  uint8_t code = Events.key_buffer[0];
  --Events.key_count;
  for (uint16_t i = 0; i < Events.key_count; ++i) Events.key_buffer[i] = Events.key_buffer[i + 1];
  return code;
}

void LineEditor(ShortString& line, int capacity) {
  line.Clear();
  int n = 0;
  for (;;) {
    uint8_t c = ReadKey();
    if (c == 13) break;
    if (c == 8) {
      if (n > 0) {
        WriteToScreen("\b", false);
        --n;
        line.length = static_cast<uint8_t>(n);
      }
    } else if (c >= 32 && n < capacity - 2) {
      line.Append(static_cast<char>(c));
      WriteToScreen(std::string_view(reinterpret_cast<const char*>(&c), 1), false);
      ++n;
    }
  }
  WriteToScreen("\r", false);
}

}  // namespace morven
