#include "update/DownloadBuffer.h"

#include "platform/memory/PageMemory.h"

#include <cstring>

namespace DownloadBuffer {

char* Allocate(std::size_t size) { return static_cast<char*>(platform::AllocatePages(size)); }

char* Grow(char* block, std::size_t newSize) {
  const std::size_t oldSize = platform::PageRegionSize(block);
  if (oldSize >= newSize) {
    return block;
  }
  char* grown = Allocate(newSize);
  if (grown == nullptr) {
    return nullptr;
  }
  std::memcpy(grown, block, oldSize);
  Release(block);
  return grown;
}

void Release(char* block) { platform::ReleasePages(block); }

}  // namespace DownloadBuffer
