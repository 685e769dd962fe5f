#include "platform/low_memory.h"

#include <sys/mman.h>

namespace morven::platform {

void* AllocateLowMemory(size_t size) {
  if (size == 0) size = 1;
  // MAP_32BIT places the mapping in the first 2 GiB of the address space on x86-64;
  // anonymous mappings start zero-filled.
  void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
  if (block == MAP_FAILED) return nullptr;
  if (reinterpret_cast<uintptr_t>(block) + size > 0x80000000u) {
    munmap(block, size);
    return nullptr;
  }
  return block;
}

void FreeLowMemory(void* block, size_t size) {
  if (block != nullptr) munmap(block, size == 0 ? 1 : size);
}

}  // namespace morven::platform
