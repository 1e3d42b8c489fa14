// Windows: each region is one VirtualAlloc allocation, committed whole, so
// the system keeps its size: VirtualQuery reads it back.
#include "platform/memory/PageMemory.h"

#include <windows.h>

#include <cassert>

namespace platform {

void* AllocatePages(std::size_t size) {
  if (size == 0) return nullptr;
  // Fresh committed pages come zero-filled; a size the address space cannot
  // hold fails here.
  return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

std::size_t PageRegionSize(const void* block) {
  MEMORY_BASIC_INFORMATION region{};
  const SIZE_T filled = VirtualQuery(block, &region, sizeof region);
  assert(filled == sizeof region && region.AllocationBase == block && region.State == MEM_COMMIT);
  (void)filled;
  return region.RegionSize;
}

void ReleasePages(void* block) {
  if (block == nullptr) return;
  const BOOL released = VirtualFree(block, 0, MEM_RELEASE);
  assert(released);
  (void)released;
}

}  // namespace platform
