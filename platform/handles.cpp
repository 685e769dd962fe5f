#include "platform/handles.h"

#include <vector>

namespace morven::platform {
namespace {

// A handle is (generation << 20) | (slot + 1): reusing a slot bumps its generation, so
// an old handle of that slot no longer matches.
constexpr uint32_t kSlotBits = 20;
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr uint32_t kGenerationLimit = 1u << (31 - kSlotBits);

struct Entry {
  HandleKind kind{};
  void* object = nullptr;
  uint32_t generation = 1;
  bool live = false;
};

std::vector<Entry> g_entries;
std::vector<uint32_t> g_free_slots;

Entry* EntryOf(uint32_t handle) {
  uint32_t slot = (handle & kSlotMask);
  if (slot == 0 || slot > g_entries.size()) return nullptr;
  Entry& e = g_entries[slot - 1];
  if (!e.live || e.generation != (handle >> kSlotBits)) return nullptr;
  return &e;
}

}  // namespace

uint32_t NewHandle(HandleKind kind, void* object) {
  uint32_t slot;
  if (!g_free_slots.empty()) {
    slot = g_free_slots.back();
    g_free_slots.pop_back();
  } else {
    g_entries.emplace_back();
    slot = static_cast<uint32_t>(g_entries.size() - 1);
  }
  Entry& e = g_entries[slot];
  e.kind = kind;
  e.object = object;
  e.live = true;
  return (e.generation << kSlotBits) | (slot + 1);
}

void* FindHandle(uint32_t handle, HandleKind kind) {
  Entry* e = EntryOf(handle);
  return e != nullptr && e->kind == kind ? e->object : nullptr;
}

void ReleaseHandle(uint32_t handle) {
  Entry* e = EntryOf(handle);
  if (e == nullptr) return;
  e->live = false;
  e->object = nullptr;
  e->generation = e->generation + 1 < kGenerationLimit ? e->generation + 1 : 1;
  g_free_slots.push_back((handle & kSlotMask) - 1);
}

}  // namespace morven::platform
