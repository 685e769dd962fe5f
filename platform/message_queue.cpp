#include "platform/message_queue.h"

#include <deque>
#include <unordered_map>

#include "platform/gui_app.h"

namespace morven::platform {
namespace {

std::deque<Message> g_queue;
std::unordered_map<uint32_t, WindowProcedure> g_procedures;

}  // namespace

void SetWindowProcedure(uint32_t window, WindowProcedure procedure) {
  if (procedure == nullptr) g_procedures.erase(window);
  else g_procedures[window] = procedure;
}

void PostMessage(const Message& message) { g_queue.push_back(message); }

bool PeekMessage(Message& out, bool remove) {
  ProcessHostEvents();
  if (g_queue.empty()) return false;
  out = g_queue.front();
  if (remove) g_queue.pop_front();
  return true;
}

int32_t DispatchMessage(const Message& message) {
  auto it = g_procedures.find(message.window);
  return it == g_procedures.end() ? 0 : it->second(message);
}

void PumpMessages() {
  Message m;
  while (PeekMessage(m, true)) DispatchMessage(m);
}

}  // namespace morven::platform
