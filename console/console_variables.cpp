#include "console/console_variables.h"

#include "console/event_state.h"
#include "console/main_window.h"
#include "console/message_pump.h"
#include "core/registers.h"
#include "platform/message_queue.h"
#include "platform/window.h"

namespace morven {
namespace {

// 1 for the left button, else 2 for the right one, else 0, after letting messages
// through.
int32_t MouseButtons(bool clear) {
  PumpMessages();
  int32_t state = Events.left_button ? 1 : Events.right_button ? 2 : 0;
  if (clear) Events.left_button = Events.right_button = false;
  return state;
}

int32_t TakeFlag(bool& flag) {
  int32_t value = flag ? 1 : 0;
  flag = false;
  return value;
}

int32_t Handle(uint32_t handle) { return static_cast<int32_t>(handle); }

}  // namespace

bool ReadConsoleVariable(uint8_t code) {
  switch (code) {
    case 0x89: IntValue = Events.mouse_x; return true;
    case 0x8A: IntValue = Events.mouse_y; return true;
    case 0x8B: IntValue = MouseButtons(true); return true;
    case 0x8C: IntValue = MenuCommand; return true;
    case 0x8E: IntValue = Events.key_char; return true;
    case 0x8F: IntValue = Events.last_key_down; return true;
    case 0x90: IntValue = Handle(TargetContext); return true;
    case 0x91: IntValue = Handle(MirrorContext); return true;
    case 0x92: IntValue = Handle(MainWindowExists() ? MainWindow.handle : 0); return true;
    case 0x9B: IntValue = platform::WindowRect(MainWindow.handle).top; return true;
    case 0x9C: IntValue = platform::WindowRect(MainWindow.handle).bottom; return true;
    case 0x9D: IntValue = platform::WindowRect(MainWindow.handle).left; return true;
    case 0x9E: IntValue = platform::WindowRect(MainWindow.handle).right; return true;
    case 0x9F: {
      int32_t focus = Handle(platform::GetFocus());
      IntValue = Events.help_key ? -focus : focus;
      return true;
    }
    case 0xAD: IntValue = platform::DisplayWidth(); return true;
    case 0xAE: IntValue = platform::DisplayHeight(); return true;
    case 0xAF: IntValue = Handle(platform::DesktopWindow()); return true;
    case 0xB1: IntValue = TakeFlag(Events.input_seen); return true;
    case 0xB2: IntValue = MouseButtons(false); return true;
    case 0xB3: {
      platform::Message m;
      bool waiting = platform::PeekMessage(m, false);
      if (waiting) Events.last_message = LastMessageState{m.window, m.number, m.wparam, m.lparam};
      IntValue = waiting ? 1 : 0;
      return true;
    }
    case 0xB4: IntValue = Handle(Events.last_message.window); return true;
    case 0xB5: IntValue = static_cast<int32_t>(Events.last_message.number); return true;
    case 0xB6: LongValue = static_cast<int32_t>(Events.last_message.wparam); return true;
    case 0xB7: LongValue = Events.last_message.lparam; return true;
    case 0xBC: IntValue = platform::DisplayBitsPerPixel(); return true;
    case 0xC1: LongValue = Handle(Events.partner_window); return true;
    case 0xC6: IntValue = 0; return true;  // the module's load address ends in a zero byte
    case 0xC7: IntValue = TakeFlag(Events.timer_fired); return true;
    case 0xC8: IntValue = TakeFlag(Events.paint_requested); return true;
    default: return false;
  }
}

}  // namespace morven
