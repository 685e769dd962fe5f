#include "platform/message_queue.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"
#include "platform/gui_app.h"
#include "platform/user_input.h"
#include "platform/window.h"

namespace morven::platform {
namespace {

std::deque<Message> g_queue;
std::unordered_map<uint32_t, WindowProcedure> g_procedures;
bool g_quit_posted = false;

struct Timer {
  uint32_t window;
  uint32_t id;
  uint32_t interval;
  uint32_t started;  // TickCount of the start or of the last WM_TIMER taken
};
std::vector<Timer> g_timers;

// A timer message is made when it is looked for, so one timer never has more than one
// waiting (as Windows coalesces them).
bool ElapsedTimer(Message& out, bool remove) {
  uint32_t now = TickCount();
  for (Timer& t : g_timers) {
    if (now - t.started < t.interval) continue;
    out = Message{t.window, kWmTimer, t.id, 0};
    if (remove) t.started = now;
    return true;
  }
  return false;
}

}  // namespace

void SetWindowProcedure(uint32_t window, WindowProcedure procedure) {
  if (procedure == nullptr) g_procedures.erase(window);
  else g_procedures[window] = procedure;
}

void PostMessage(const Message& message) { g_queue.push_back(message); }

void PostQuitMessage() { g_quit_posted = true; }

bool PeekMessage(Message& out, bool remove) {
  ProcessHostEvents();
  if (!g_queue.empty()) {
    out = g_queue.front();
    if (remove) g_queue.pop_front();
    return true;
  }
  if (g_quit_posted) {
    out = Message{0, kWmQuit, 0, 0};
    if (remove) g_quit_posted = false;
    return true;
  }
  // A paint request stays until the window's procedure validates the window.
  if (uint32_t window = WindowNeedingPaint(); window != 0) {
    out = Message{window, kWmPaint, 0, 0};
    return true;
  }
  return ElapsedTimer(out, remove);
}

int32_t DispatchMessage(const Message& message) {
  auto it = g_procedures.find(message.window);
  return it == g_procedures.end() ? DefWindowProc(message) : it->second(message);
}

int32_t SendMessage(uint32_t window, uint32_t number, uint32_t wparam, int32_t lparam) {
  return DispatchMessage(Message{window, number, wparam, lparam});
}

void TranslateMessage(const Message& message) {
  if (message.character < 0) return;
  if (message.number != kWmKeyDown && message.number != kWmSysKeyDown) return;
  uint32_t number = message.number == kWmKeyDown ? kWmChar : kWmSysChar;
  g_queue.push_front(Message{message.window, number, static_cast<uint32_t>(message.character), message.lparam});
}

void PumpMessages() {
  Message m;
  while (PeekMessage(m, true)) {
    TranslateMessage(m);
    DispatchMessage(m);
  }
}

void WaitMessage() {
  Message m;
  while (!PeekMessage(m, false)) WaitForUser();
}

Message GetMessage() {
  Message m;
  while (!PeekMessage(m, true)) WaitForUser();
  return m;
}

void SetTimer(uint32_t window, uint32_t id, uint32_t interval) {
  KillTimer(window, id);
  g_timers.push_back(Timer{window, id, std::max(interval, kTimerMinimum), TickCount()});
}

bool KillTimer(uint32_t window, uint32_t id) {
  auto it = std::find_if(g_timers.begin(), g_timers.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == g_timers.end()) return false;
  g_timers.erase(it);
  return true;
}

bool NextTimerDue(uint32_t& due) {
  if (g_timers.empty()) return false;
  uint32_t now = TickCount();
  uint32_t soonest = UINT32_MAX;
  for (const Timer& t : g_timers) {
    uint32_t elapsed = now - t.started;
    soonest = std::min(soonest, elapsed >= t.interval ? 0 : t.interval - elapsed);
  }
  due = now + soonest;
  return true;
}

void ForgetWindowMessages(uint32_t window) {
  std::erase_if(g_queue, [&](const Message& m) { return m.window == window; });
  std::erase_if(g_timers, [&](const Timer& t) { return t.window == window; });
}

}  // namespace morven::platform
