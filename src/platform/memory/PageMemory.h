// Page memory: regions obtained from the operating system in whole pages,
// outside the ordinary heap.
#pragma once

#include <cstddef>

namespace platform {

// A new region of at least size bytes, rounded up to whole pages and
// zero-filled throughout; null when size is 0 or the region cannot be had.
void* AllocatePages(std::size_t size);

// The usable size of the region that starts at block, a whole number of pages.
std::size_t PageRegionSize(const void* block);

// Returns the region that starts at block to the system; null is ignored.
void ReleasePages(void* block);

}  // namespace platform
