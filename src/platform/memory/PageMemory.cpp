#include "platform/memory/PageMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {
namespace {

// Each region is preceded by one bookkeeping page holding the region's size.
// The page is made read-only once written, so a write before the start of a
// block faults instead of corrupting the size.
std::size_t PageSize() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

char* BookkeepingPage(const void* block) { return static_cast<char*>(const_cast<void*>(block)) - PageSize(); }

}  // namespace

void* AllocatePages(std::size_t size) {
  const std::size_t page = PageSize();
  if (size == 0 || size > SIZE_MAX - 2 * page) {
    return nullptr;
  }
  const std::size_t region = (size + page - 1) / page * page;
  // Fresh anonymous pages come zero-filled.
  void* mapped = mmap(nullptr, page + region, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    return nullptr;
  }
  *static_cast<std::size_t*>(mapped) = region;
  mprotect(mapped, page, PROT_READ);
  return static_cast<char*>(mapped) + page;
}

std::size_t PageRegionSize(const void* block) { return *reinterpret_cast<const std::size_t*>(BookkeepingPage(block)); }

void ReleasePages(void* block) {
  if (block == nullptr) {
    return;
  }
  munmap(BookkeepingPage(block), PageSize() + PageRegionSize(block));
}

}  // namespace platform
