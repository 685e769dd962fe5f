#include "platform/user_input.h"

#include <array>
#include <optional>

#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/gui_app.h"
#include "platform/keys.h"
#include "platform/message_queue.h"
#include "platform/process.h"
#include "platform/window.h"

namespace morven::platform {
namespace {

std::array<bool, 256> g_pressed{};

// A scripted click's button goes up just before the next script line is taken.
std::optional<Message> g_pending_release;

// A "wait MS" line: the user does nothing until this tick count.
bool g_resting = false;
uint32_t g_rest_until = 0;

bool g_closed_by_exhaustion = false;

constexpr int32_t kKeyDownParam = 1;
constexpr int32_t kKeyUpParam = static_cast<int32_t>(0xC0000001u);
constexpr int32_t kAltDown = 0x20000000;

uint32_t KeyboardWindow() {
  uint32_t focus = GetFocus();
  return focus != 0 ? focus : MainHostWindow();
}

void PostKey(uint8_t vk, int character, bool alt) {
  uint32_t window = KeyboardWindow();
  bool system = alt || IsSystemKey(vk);
  int32_t extra = alt ? kAltDown : 0;
  NoteKeyDown(vk);
  PostMessage(Message{window, system ? kWmSysKeyDown : kWmKeyDown, vk, kKeyDownParam | extra, character});
  PostMessage(Message{window, system ? kWmSysKeyUp : kWmKeyUp, vk, kKeyUpParam | extra});
}

// The script's text is UTF-8, with \xNN escapes standing for single bytes: each
// character becomes its Windows-1252 byte, a byte that starts no UTF-8 character is
// taken as it is, and a character the code page lacks is typed as "?".
std::string TypedBytes(const std::string& text) {
  std::string bytes;
  for (size_t pos = 0; pos < text.size();) {
    size_t start = pos;
    char32_t code = DecodeUtf8(text, pos);
    if (code == 0xFFFFFFFF) {
      bytes += text[start];
      pos = start + 1;
      continue;
    }
    int byte = UnicodeToCp1252(code);
    bytes += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return bytes;
}

// The characters of a "type" line still to be typed: one goes to the program each
// time it waits, as a person types, so a long line does not overrun the key buffer.
std::string g_typing;
size_t g_typed = 0;

void TypeNextCharacter() {
  auto byte = static_cast<uint8_t>(g_typing[g_typed++]);
  KeyOfChar key = KeyForChar(byte);
  int character = byte == '\n' ? '\r' : byte;
  PostKey(key.vk, character, false);
}

void TypeText(const std::string& text) {
  g_typing = TypedBytes(text);
  g_typed = 0;
  if (!g_typing.empty()) TypeNextCharacter();
}

void Click(const ScriptLine& line) {
  uint32_t window = MainHostWindow();
  int32_t where = PointParam(line.x, line.y);
  uint32_t down = line.right_button ? kWmRButtonDown : kWmLButtonDown;
  uint32_t up = line.right_button ? kWmRButtonUp : kWmLButtonUp;
  uint32_t held = line.right_button ? kMkRButton : kMkLButton;
  PostMessage(Message{window, kWmMouseMove, 0, where});
  PostMessage(Message{window, down, held, where});
  g_pending_release = Message{window, up, 0, where};
}

// The user closes the main window with its close box; without a window the
// application is asked to quit.
void CloseMainWindow() {
  if (uint32_t window = MainHostWindow(); window != 0)
    PostMessage(Message{window, kWmSysCommand, kScClose, 0});
  else
    PostQuitMessage();
}

void Perform(const ScriptLine& line) {
  switch (line.verb) {
    case ScriptVerb::Type: TypeText(line.text); break;
    case ScriptVerb::Key: {
      auto vk = static_cast<uint8_t>(line.number);
      PostKey(vk, CharForKey(vk, false, false), false);
      break;
    }
    case ScriptVerb::Click: Click(line); break;
    case ScriptVerb::Menu:
      PostMessage(Message{MainHostWindow(), kWmCommand, static_cast<uint32_t>(line.number) & 0xFFFFu, 0});
      break;
    case ScriptVerb::Close: CloseMainWindow(); break;
    case ScriptVerb::Wait:
      g_resting = true;
      g_rest_until = TickCount() + static_cast<uint32_t>(line.number);
      break;
    default: ScriptLineDoesNotFit(line, "input (type, key, click, menu, close or wait)");
  }
}

// Lets time pass up to `until`, or less when a timer falls due first. Host events are
// delivered meanwhile.
void RestUntil(uint32_t until) {
  uint32_t now = TickCount();
  uint32_t due = 0;
  if (NextTimerDue(due) && static_cast<int32_t>(due - until) < 0) until = due;
  int32_t span = static_cast<int32_t>(until - now);
  if (span <= 0) return;
  if (VirtualClockInUse()) PassTime(static_cast<uint32_t>(span));
  else WaitForHostEvents(span);
}

}  // namespace

bool TakeKeyPress(uint8_t vk) {
  bool pressed = g_pressed[vk];
  g_pressed[vk] = false;
  return pressed;
}

void NoteKeyDown(uint8_t vk) { g_pressed[vk] = true; }

void WaitForUser() {
  if (g_pending_release) {
    PostMessage(*g_pending_release);
    g_pending_release.reset();
    return;
  }
  if (g_typed < g_typing.size()) {
    TypeNextCharacter();
    return;
  }
  if (g_resting) {
    if (static_cast<int32_t>(g_rest_until - TickCount()) > 0) {
      RestUntil(g_rest_until);
      return;
    }
    g_resting = false;
  }
  if (auto line = NextScriptLine()) {
    Perform(*line);
    return;
  }
  if (!IsHeadless()) {
    // A person is there: wait for the host's events (or the next timer).
    uint32_t due = 0;
    WaitForHostEvents(NextTimerDue(due) ? static_cast<int32_t>(due - TickCount()) : -1);
    return;
  }
  // Nobody will ever act: close, and if the program still waits, end the run.
  if (g_closed_by_exhaustion) AbortRun(255);
  g_closed_by_exhaustion = true;
  CloseMainWindow();
}

}  // namespace morven::platform
