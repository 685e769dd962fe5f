#include "console/wait_commands.h"

#include "console/event_state.h"
#include "console/main_window.h"
#include "core/argument_reader.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "errors/run_error.h"
#include "platform/message_queue.h"

namespace morven {
namespace {

constexpr uint32_t kTimerNumber = 1;
constexpr uint32_t kPartnerGoodbye = 993;

}  // namespace

void WaitKeyDownCommand() {
  LineHandled = true;
  Events.last_key_down = 0;
  while (!KeyDownWaiting()) platform::WaitMessage();
  Events.key_char = Events.last_char;
}

void WaitCharCommand() {
  LineHandled = true;
  Events.last_char = 0;
  Events.last_key_down = 0;
  while (!CharWaiting() && !KeyDownWaiting()) platform::WaitMessage();
  Events.key_char = Events.last_char;
}

void WaitMouseCommand() {
  LineHandled = true;
  Events.right_button = Events.left_button = false;
  MenuCommand = 0;
  while (!RightDown() && !LeftDown() && MenuCommand == 0) platform::WaitMessage();
}

void WaitInputCommand() {
  LineHandled = true;
  Events.help_enabled = true;
  Events.right_button = Events.left_button = false;
  MenuCommand = 0;
  Events.timer_fired = false;
  Events.help_key = false;
  Events.left_child_click = Events.right_child_click = false;
  Events.last_char = 0;
  Events.last_key_down = 0;
  for (;;) {
    if (KeyDownWaiting() || LeftDown() || CharWaiting() || RightDown() || LeftChild() || RightChild() ||
        Events.paint_requested || Events.timer_fired || MenuCommand != 0)
      break;
    platform::WaitMessage();
  }
  Events.key_char = Events.last_char;
  Events.help_enabled = false;
}

void WaitOneMessageCommand() {
  LineHandled = true;
  platform::Message m = platform::GetMessage();
  Events.last_message = LastMessageState{m.window, m.number, m.wparam, m.lparam};
  platform::TranslateMessage(m);
  platform::DispatchMessage(m);
}

void StartTimerCommand() {
  LineHandled = true;
  ReadArgument(' ', kKindAny);
  if (Events.timer_running) platform::KillTimer(Events.timer_window, kTimerNumber);
  uint32_t window = MainWindowExists() ? MainWindow.handle : 0;
  platform::SetTimer(window, kTimerNumber, static_cast<uint32_t>(IntValue));
  Events.timer_running = true;
  Events.timer_window = window;
}

void StopTimerCommand() {
  LineHandled = true;
  if (Events.timer_running) {
    platform::KillTimer(Events.timer_window, kTimerNumber);
    Events.timer_running = false;
  } else {
    RunWarning(250, "KILLTIMER");
  }
}

void EndPartnerCommand() {
  LineHandled = true;
  platform::PostMessage(platform::Message{Events.partner_window, kPartnerGoodbye, MainWindow.handle, 0});
  Events.partner_window = 0;
}

}  // namespace morven
