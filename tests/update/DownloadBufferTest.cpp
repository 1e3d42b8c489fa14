#include "platform/memory/PageMemory.h"
#include "update/DownloadBuffer.h"
#include "update/MemorySink.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

TEST(DownloadBufferTest, BlocksAreZeroFilledWholePagesThatGrowKeepingTheirBytes) {
  char* block = DownloadBuffer::Allocate(2048);
  ASSERT_NE(block, nullptr);
  const std::size_t region = platform::PageRegionSize(block);
  EXPECT_EQ(region % static_cast<std::size_t>(sysconf(_SC_PAGESIZE)), 0u);
  EXPECT_EQ(std::string(block, region), std::string(region, '\0'));
  for (std::size_t i = 0; i < region; ++i) {
    block[i] = static_cast<char>('a' + i % 26);
  }
  const std::string bytes(block, region);
  EXPECT_EQ(DownloadBuffer::Grow(block, region), block);

  EXPECT_EQ(DownloadBuffer::Grow(block, std::size_t{1} << 60), nullptr);
  EXPECT_EQ(std::string(block, region), bytes);  // a failed growth leaves the block be

  char* grown = DownloadBuffer::Grow(block, region + 10240);
  ASSERT_NE(grown, nullptr);
  const std::size_t grownRegion = platform::PageRegionSize(grown);
  EXPECT_GE(grownRegion, region + 10240);
  EXPECT_EQ(std::string(grown, region), bytes);
  EXPECT_EQ(std::string(grown + region, grownRegion - region), std::string(grownRegion - region, '\0'));
  DownloadBuffer::Release(grown);
}

TEST(DownloadBufferTest, MemorySinkCapacityGoes2048Then10240MoreKeepingRoomForTheZero) {
  char* target = nullptr;
  std::unique_ptr<MemorySink> sink = MemorySink::Open(&target);
  ASSERT_NE(sink, nullptr);
  std::string stored;
  for (const auto& [length, capacity] : {std::pair{2047, 2048}, {1, 12288}, {10239, 12288}, {1, 22528}}) {
    const std::string chunk(length, static_cast<char>('a' + stored.size() % 26));
    ASSERT_TRUE(sink->Store(chunk.data(), length));
    stored += chunk;
    EXPECT_EQ(sink->Capacity(), capacity) << "after " << stored.size() << " bytes";
  }
  EXPECT_EQ(target, nullptr);
  EXPECT_EQ(sink->Complete(), static_cast<int>(stored.size()));
  EXPECT_EQ(std::string(target), stored);
  DownloadBuffer::Release(target);
}
