// Functions that create windows, show message boxes and query the window and input
// state.
#include <string>

#include "console/event_state.h"
#include "console/main_window.h"
#include "console/message_pump.h"
#include "core/argument_reader.h"
#include "core/not_built.h"
#include "core/registers.h"
#include "functions/function_table.h"
#include "platform/message_box.h"
#include "platform/message_queue.h"
#include "platform/window.h"
#include "ui/dialog_state.h"
#include "ui/string_list.h"

namespace morven {
namespace {

// The text cells of the mouse-in-cell function have a fixed size, whatever the font.
constexpr int32_t kMouseCellWidth = 8;
constexpr int32_t kMouseCellHeight = 13;
// The longest window text that the StringList fills in.
constexpr size_t kListTextLimit = 63998;


void OneCharacter(uint8_t ch) {
  char c = static_cast<char>(ch);
  StringResult(ch == 0 ? std::string_view() : std::string_view(&c, 1));
}

// 0x33: class, title, style, x, y, width, height, parent, menu or id, instance. The
// windows it makes are controls and dialog windows, which this version does not have.
void CreateWindowFunction() { NotAvailable("function code 0x33 (CREATEWINDOW): controls and other windows"); }

// 0x41: instance, id. The runtime's module carries no string table, and the modules
// of Windows libraries cannot be loaded here, so there is never a string.
void LoadStringFunction() {
  ReadArgument(',', kKindAny);
  ReadArgument(')', kKindAny);
  StringResult("");
}

// 0x67: window; its text becomes the StringList's entries, each with CR LF, leaving
// out those that would pass the length limit. 1 when every entry was taken.
void ListToWindowTextFunction() {
  ReadArgument(')', kKindAny);
  auto window = static_cast<uint32_t>(IntValue);
  std::string text;
  bool all = true;
  for (int32_t i = 0; i < string_list::Count(); ++i) {
    const ShortString* entry = string_list::Get(i);
    if (text.size() + entry->length + 2 > kListTextLimit) {
      all = false;
      continue;
    }
    text.append(entry->View());
    text += "\r\n";
  }
  platform::SetWindowText(window, text);
  IntegerResult(all ? 1 : 0);
}

// 0x9B: text, caption, style; the chosen button's code.
void MessageBoxFunction() {
  ReadArgument(',', kKindString);
  const ShortString text = StringValue;
  ReadArgument(',', kKindString);
  const ShortString caption = StringValue;
  ReadArgument(')', kKindAny);
  DialogResult = platform::MessageBox(text.View(), caption.View(), static_cast<uint32_t>(IntValue));
  RefreshMainWindowAfterBox();
  IntegerResult(DialogResult);
}

// 0xAF: LastChar as a string (empty when none); LastChar is then cleared.
void InkeyFunction() {
  uint8_t ch = Events.last_char;
  Events.last_char = 0;
  OneCharacter(ch);
}

// 0xB0: waits for a character or a key-down.
void GetKeyFunction() {
  Events.last_char = 0;
  Events.last_key_down = 0;
  while (!CharWaiting() && !KeyDownWaiting()) platform::WaitMessage();
  Events.key_char = Events.last_char;
  char c = static_cast<char>(Events.key_char);
  StringResult(std::string_view(&c, 1));
}

// 0xB1: s; 1 when KeyChar occurs in it.
void KeyInFunction() {
  ReadArgument(')', kKindString);
  char c = static_cast<char>(Events.key_char);
  IntegerResult(StringValue.View().find(c) != std::string_view::npos ? 1 : 0);
}

bool Inside(int32_t value, int32_t low, int32_t high) { return low <= value && value <= high; }

// 0xB2: 1 when the mouse is inside the pixel rectangle, edges included.
void MouseInFunction() {
  int32_t c[4];
  ReadCorners(')', c);
  IntegerResult(Inside(Events.mouse_x, c[0], c[2]) && Inside(Events.mouse_y, c[1], c[3]) ? 1 : 0);
}

// 0xB3: 1 when the mouse is inside the rectangle of 8 x 13 pixel cells.
void MouseInCellFunction() {
  int32_t c[4];
  ReadCorners(')', c);
  int32_t row = Events.mouse_y / kMouseCellHeight + 1;
  int32_t column = Events.mouse_x / kMouseCellWidth + 1;
  IntegerResult(Inside(row, c[0], c[2]) && Inside(column, c[1], c[3]) ? 1 : 0);
}

// 0xB4: n; 1 when MenuCommand is n.
void MenuCommandIsFunction() {
  ReadArgument(')', kKindAny);
  IntegerResult(MenuCommand == IntValue ? 1 : 0);
}

// 0xB5: n; 1 when LastKeyDown is n.
void KeyCodeIsFunction() {
  ReadArgument(')', kKindAny);
  IntegerResult(Events.last_key_down == IntValue ? 1 : 0);
}

constexpr FunctionEntry kWindowQuery[] = {
    {0x33, CreateWindowFunction}, {0x41, LoadStringFunction}, {0x67, ListToWindowTextFunction},
    {0x9B, MessageBoxFunction},   {0xAF, InkeyFunction},      {0xB0, GetKeyFunction},
    {0xB1, KeyInFunction},        {0xB2, MouseInFunction},    {0xB3, MouseInCellFunction},
    {0xB4, MenuCommandIsFunction}, {0xB5, KeyCodeIsFunction},
};

}  // namespace

std::span<const FunctionEntry> WindowQueryFunctions() { return kWindowQuery; }

}  // namespace morven
