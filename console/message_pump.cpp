#include "console/message_pump.h"

#include "console/event_state.h"
#include "console/main_window.h"
#include "core/shutdown.h"
#include "platform/keys.h"
#include "platform/message_queue.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace morven {
namespace {

bool g_halting = false;

bool IsInputMessage(uint32_t number) {
  return (number >= platform::kWmKeyDown && number <= platform::kWmLastKeyboard) ||
         (number >= platform::kWmMouseMove && number <= platform::kWmLastMouse);
}

// Dialog keyboard navigation for the main window: Enter and Escape become the
// commands of the default and the cancel button (1 and 2), Tab moves between controls
// (there are none yet, so it is only taken). True when the message was taken.
bool MainWindowDialogMessage(const platform::Message& m) {
  if (m.number != platform::kWmKeyDown && m.number != platform::kWmChar) return false;
  if (m.window != MainWindow.handle) return false;
  uint32_t key = m.wparam;
  if (m.number == platform::kWmKeyDown) {
    if (key == platform::kVkReturn) {
      platform::SendMessage(MainWindow.handle, platform::kWmCommand, 1, 0);
      return true;
    }
    if (key == platform::kVkEscape) {
      platform::SendMessage(MainWindow.handle, platform::kWmCommand, 2, 0);
      return true;
    }
    return key == platform::kVkTab;
  }
  return false;
}

}  // namespace

void PumpMessages() {
  if (platform::TakeKeyPress(platform::kVkF1)) PushKey(5);
  platform::Message m;
  while (platform::PeekMessage(m, true)) {
    if (IsInputMessage(m.number)) Events.input_seen = true;
    if (m.number == platform::kWmQuit) {
      Halt(255);
      continue;
    }
    if (MainWindow.dialog_navigation && MainWindowDialogMessage(m)) continue;
    bool system_key = m.number == platform::kWmSysKeyDown;
    bool system_command = m.number == platform::kWmSysCommand;
    if (((system_key || system_command) && MainWindow.sys_keys_as_commands) ||
        (system_command && MainWindow.sys_menu_as_commands)) {
      m.number = platform::kWmCommand;
      m.lparam = 0;
      m.wparam &= 0xFFFFu;
      m.character = -1;
    }
    platform::TranslateMessage(m);
    platform::DispatchMessage(m);
  }
}

void Halt(int exit_code) {
  if (g_halting) return;
  g_halting = true;
  if (MainWindowExists()) {
    platform::SetWindowText(MainWindow.handle, MainWindow.title.View());
    while (MainWindowExists()) {
      platform::WaitMessage();
      PumpMessages();
    }
  }
  Shutdown(exit_code);
}

}  // namespace morven
