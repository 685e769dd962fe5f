#include "platform/clock.h"

#include <time.h>

#include <cstdlib>
#include <cstring>

namespace morven::platform {
namespace {

bool ReadVirtualClockSetting() {
  const char* value = std::getenv("MORVEN_VIRTUAL_CLOCK");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

uint32_t g_virtual_ms = 0;

}  // namespace

bool VirtualClockInUse() {
  static const bool in_use = ReadVirtualClockSetting();
  return in_use;
}

uint32_t TickCount() {
  if (VirtualClockInUse()) return g_virtual_ms;
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void PassTime(uint32_t milliseconds) {
  if (VirtualClockInUse()) {
    g_virtual_ms += milliseconds;
    return;
  }
  timespec ts{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

}  // namespace morven::platform
