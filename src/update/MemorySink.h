// A fetch's memory sink: the reply collected in a DownloadBuffer block.
#pragma once

#include "update/DownloadBuffer.h"
#include "update/FetchSink.h"

#include <memory>

class MemorySink final : public FetchSink {
 public:
  static constexpr int kFirstCapacity = 2048;
  static constexpr int kCapacityGrowth = 10240;
  // A longer reply fails the fetch rather than taking memory without bound.
  static constexpr int kMaxReplyBytes = 1 << 20;

  // A sink that hands its block to *target on completion; null when no
  // block can be obtained.
  static std::unique_ptr<MemorySink> Open(char** target);

  // Keeps one byte beyond the stored bytes free for the terminating zero,
  // growing the capacity in steps of kCapacityGrowth when a chunk would reach it.
  bool Store(const char* chunk, int length) override;
  // Terminates the stored bytes with a zero, hands the block over and
  // returns the number of bytes stored.
  int Complete() override;

  int Capacity() const { return capacity_; }

 private:
  MemorySink(char** target, DownloadBuffer::Owner block);

  char** target_;
  DownloadBuffer::Owner block_;
  int capacity_ = kFirstCapacity;
  int size_ = 0;
};
