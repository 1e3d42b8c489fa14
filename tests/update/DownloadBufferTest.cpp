// The reply blocks: whole zero-filled pages that keep their bytes as they
// grow, and that a failed growth leaves to their owner.
#include "platform/memory/PageMemory.h"
#include "update/DownloadBuffer.h"

#include <gtest/gtest.h>

#include <string>

TEST(DownloadBufferTest, BlocksAreZeroFilledAndGrowKeepingTheirBytesOrFailLeavingThemBe) {
  char* block = DownloadBuffer::Allocate(2048);
  ASSERT_NE(block, nullptr);
  const std::size_t region = platform::PageRegionSize(block);
  EXPECT_EQ(std::string(block, region), std::string(region, '\0'));
  for (std::size_t i = 0; i < region; ++i) {
    block[i] = static_cast<char>('a' + i % 26);
  }
  const std::string bytes(block, region);

  EXPECT_EQ(DownloadBuffer::Grow(block, std::size_t{1} << 60), nullptr);
  EXPECT_EQ(std::string(block, region), bytes);

  char* grown = DownloadBuffer::Grow(block, region + 10240);
  ASSERT_NE(grown, nullptr);
  const std::size_t grownRegion = platform::PageRegionSize(grown);
  EXPECT_GE(grownRegion, region + 10240);
  EXPECT_EQ(std::string(grown, region), bytes);
  EXPECT_EQ(std::string(grown + region, grownRegion - region), std::string(grownRegion - region, '\0'));
  DownloadBuffer::Release(grown);
}
