#pragma once
// Memory blocks whose addresses fit into 31 bits. Area variables hand their block
// address to programs as a 32-bit value, which later goes to native library calls;
// so the blocks must really live below 2 GiB.
#include <cstddef>
#include <cstdint>

namespace morven::platform {

// A zero-filled block of `size` bytes below 2 GiB, or nullptr when none is available.
void* AllocateLowMemory(size_t size);

void FreeLowMemory(void* block, size_t size);

}  // namespace morven::platform
