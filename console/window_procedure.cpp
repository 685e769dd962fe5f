#include "console/window_procedure.h"

#include "console/event_state.h"
#include "console/main_window.h"
#include "console/message_pump.h"
#include "console/text_screen.h"
#include "platform/drawing.h"
#include "platform/keys.h"
#include "platform/window.h"

namespace morven {
namespace {

constexpr uint32_t kPartnerHello = 996;

uint16_t LowWord(uint32_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
uint16_t HighWord(uint32_t v) { return static_cast<uint16_t>(v >> 16); }

void SetMouse(int32_t lparam) {
  Events.mouse_x = LowWord(static_cast<uint32_t>(lparam));
  Events.mouse_y = HighWord(static_cast<uint32_t>(lparam));
}

void CreationMessage(uint32_t window) {
  MainWindow.handle = window;
  MainWindow.created = true;
  AllocateTextGrid(MainWindow.screen_width, MainWindow.screen_height);
  TargetContext = platform::WindowContext(window);
  MeasureTextFonts();
}

void DestructionMessage() {
  if (MirrorContext != 0) {
    platform::SelectBitmap(MirrorContext, MainWindow.bitmap_replaced);
    platform::DeleteContext(MirrorContext);
  }
  platform::DeleteObject(BackingBitmap);
  MirrorContext = 0;
  TargetContext = 0;
  BackingBitmap = 0;
  FreeTextGrid();
  CursorColumn = 0;
  CursorRow = 0;
  platform::PostQuitMessage();
  MainWindow.created = false;
}

// With PaintMode above 0 the window is repainted from the BackingBitmap; otherwise
// the program is told that it must redraw.
void PaintRequest(uint32_t window) {
  platform::BeginPaint(window);
  if (MainWindow.paint_mode > 0 && MirrorContext != 0)
    platform::BitBlt(platform::WindowContext(window), 0, 0, MainWindow.screen_width, MainWindow.screen_height,
                     MirrorContext, 0, 0);
  else
    Events.paint_requested = true;
  platform::EndPaint(window);
}

void MenuOrControlCommand(const platform::Message& m) {
  Events.focus_window = static_cast<uint32_t>(m.lparam);
  if (m.lparam == 0) {
    Events.mouse_x = Events.mouse_y = 0;
    Events.left_button = Events.right_button = false;
    uint16_t id = LowWord(m.wparam);
    MenuCommand = id == platform::kLeerMenuCommand ? 255 : static_cast<int16_t>(id);
  } else {
    MenuCommand = static_cast<int16_t>(-static_cast<int32_t>(LowWord(m.wparam)));
  }
}

void DialogCommand(const platform::Message& m) {
  uint16_t high = HighWord(m.wparam);
  uint8_t low_byte = static_cast<uint8_t>(m.wparam & 0xFF);
  if (m.lparam == 0 && high == 0 && low_byte == 1) {
    // Enter without a default button.
    PushKey(13);
    platform::SetFocus(platform::NextWindow(platform::GetFocus()));
  } else if (m.lparam == 0 && high == 0 && low_byte == 2) {
    platform::SetFocus(0);  // Escape
    PushKey(2);
  } else if (high == 1) {
    PushKey(1);
  } else if (high == 0 && m.lparam != 0) {
    platform::SetFocus(static_cast<uint32_t>(m.lparam));
    Events.focus_window = platform::GetFocus();
    PushKey(255);
  } else if (m.lparam == 0 && high == 0) {
    MenuOrControlCommand(m);
  }
}

void ChildClick(const platform::Message& m) {
  uint16_t what = LowWord(m.wparam);
  if (MainWindow.dialog_procedure) {
    if (what == platform::kWmLButtonDown) {
      std::string focused = platform::WindowClassName(platform::GetFocus());
      if (!focused.empty() && (focused[0] == 'S' || focused[0] == 's')) SetMouse(m.lparam);
    } else if (what == platform::kWmRButtonDown) {
      platform::SetFocus(0);
      Events.right_child_click = true;
      Events.left_child_click = false;
      SetMouse(m.lparam);
    }
    return;
  }
  if (what == platform::kWmLButtonDown) {
    Events.left_child_click = true;
    Events.right_child_click = false;
    SetMouse(m.lparam);
  } else if (what == platform::kWmRButtonDown) {
    Events.right_child_click = true;
    Events.left_child_click = false;
    SetMouse(m.lparam);
  }
  Events.focus_window = platform::GetFocus();
}

void ButtonMessage(const platform::Message& m, bool left, bool down) {
  SetMouse(m.lparam);
  if (left) {
    Events.left_button = down;
    if (down) Events.right_button = false;
  } else {
    Events.right_button = down;
    if (down) Events.left_button = false;
  }
  platform::SetFocus(MainWindow.handle);
  Events.focus_window = MainWindow.handle;
}

}  // namespace

int32_t MainWindowProcedure(const platform::Message& m) {
  Events.last_message = LastMessageState{m.window, m.number, m.wparam, m.lparam};
  switch (m.number) {
    case platform::kWmCreate: CreationMessage(m.window); return 0;
    case platform::kWmDestroy: DestructionMessage(); return 0;
    case platform::kWmMove: return 0;
    case platform::kWmSize: PushKey(4); return 0;
    case platform::kWmSetFocus:
      Events.focus_window = platform::GetFocus();
      Events.has_focus = true;
      return 0;
    case platform::kWmKillFocus: Events.has_focus = false; return 0;
    case platform::kWmPaint: PaintRequest(m.window); return 0;
    case platform::kWmGetMinMaxInfo:
      if (MainWindow.created) MeasureTextFonts();
      return 0;
    case platform::kWmKeyDown:
      if (m.wparam == platform::kVkCancel) Halt(255);
      Events.last_key_down = static_cast<uint8_t>(m.wparam & 0xFF);
      return 0;
    case platform::kWmChar: PushKey(static_cast<uint8_t>(m.wparam)); return 0;
    case platform::kWmCommand:
      if (MainWindow.dialog_procedure) DialogCommand(m);
      else MenuOrControlCommand(m);
      return 0;
    case platform::kWmTimer:
      if (m.wparam == 1) Events.timer_fired = true;
      return 0;
    case platform::kWmHScroll:
    case platform::kWmVScroll:
      // No scroll bar controls exist yet, so no position is moved here.
      Events.focus_window = platform::GetFocus();
      PushKey(255);
      return 0;
    case platform::kWmMouseMove: SetMouse(m.lparam); return 0;
    case platform::kWmLButtonDown: ButtonMessage(m, true, true); return 0;
    case platform::kWmLButtonUp: ButtonMessage(m, true, false); return 0;
    case platform::kWmRButtonDown: ButtonMessage(m, false, true); return 0;
    case platform::kWmRButtonUp: ButtonMessage(m, false, false); return 0;
    case platform::kWmParentNotify: ChildClick(m); return 0;
    case kPartnerHello: Events.partner_window = m.wparam; return 0;
    default: return platform::DefWindowProc(m);
  }
}

}  // namespace morven
