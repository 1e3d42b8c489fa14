// DownloadBuffer: the page-memory block that receives a reply in memory.
//
// A block comes from page memory, not from the heap, and goes back only
// through Release. Fresh blocks and the parts a growth adds are zero-filled.
#pragma once

#include <cstddef>
#include <memory>

namespace DownloadBuffer {

// A zero-filled block of at least size bytes (its region is rounded up to
// whole pages); null when none can be obtained.
char* Allocate(std::size_t size);

// A block of at least newSize bytes holding block's bytes: block itself when
// its region is already large enough, else a new zero-filled block with the
// old region copied in and the old block released. Null when the new block
// cannot be obtained; block is then untouched and still valid.
char* Grow(char* block, std::size_t newSize);

// Returns block to the system; null is ignored.
void Release(char* block);

struct Releaser {
  void operator()(char* block) const { Release(block); }
};
// Owns a block until it is handed on with release().
using Owner = std::unique_ptr<char, Releaser>;

}  // namespace DownloadBuffer
