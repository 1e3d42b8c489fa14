// Page memory on Windows: whole pages, zero-filled, writable to their end,
// their size read back from the system.
#include "platform/memory/PageMemory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

std::size_t PageSize() {
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  return system.dwPageSize;
}

TEST(PageMemoryTest, RegionsAreWholeZeroedPagesOfAtLeastTheSizeAskedFor) {
  const std::size_t page = PageSize();
  for (const std::size_t size : {std::size_t{1}, page - 1, page, page + 1, std::size_t{3} << 20}) {
    SCOPED_TRACE(size);
    auto* block = static_cast<unsigned char*>(platform::AllocatePages(size));
    ASSERT_NE(block, nullptr);
    const std::size_t region = platform::PageRegionSize(block);
    EXPECT_EQ(region, (size + page - 1) / page * page);
    EXPECT_TRUE(std::all_of(block, block + region, [](unsigned char b) { return b == 0; }));
    block[region - 1] = 0xAB;
    platform::ReleasePages(block);
  }
}

TEST(PageMemoryTest, NothingIsHadForNothingOrForMoreThanTheAddressSpace) {
  EXPECT_EQ(platform::AllocatePages(0), nullptr);
  EXPECT_EQ(platform::AllocatePages(SIZE_MAX), nullptr);
  EXPECT_EQ(platform::AllocatePages(SIZE_MAX - PageSize() + 1), nullptr);
  platform::ReleasePages(nullptr);
}

}  // namespace
