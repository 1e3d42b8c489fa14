#include "update/MemorySink.h"

#include <cassert>
#include <cstring>

MemorySink::MemorySink(char** target, DownloadBuffer::Owner block) : target_(target), block_(std::move(block)) {}

std::unique_ptr<MemorySink> MemorySink::Open(char** target) {
  DownloadBuffer::Owner block(DownloadBuffer::Allocate(kFirstCapacity));
  if (!block) {
    return nullptr;
  }
  return std::unique_ptr<MemorySink>(new MemorySink(target, std::move(block)));
}

bool MemorySink::Store(const char* chunk, int length) {
  assert(block_ != nullptr && "a completed sink stores nothing more");
  if (length > kMaxReplyBytes - size_) {
    return false;
  }
  if (size_ + length >= capacity_) {
    // As many steps as the chunk needs: a chunk may be longer than one step.
    const int steps = (size_ + length - capacity_) / kCapacityGrowth + 1;
    const int capacity = capacity_ + steps * kCapacityGrowth;
    char* grown = DownloadBuffer::Grow(block_.get(), static_cast<std::size_t>(capacity));
    if (grown == nullptr) {
      return false;
    }
    // Grow has either handed the same block back or released it.
    block_.release();
    block_.reset(grown);
    capacity_ = capacity;
  }
  assert(size_ + length < capacity_);
  std::memcpy(block_.get() + size_, chunk, static_cast<std::size_t>(length));
  size_ += length;
  return true;
}

int MemorySink::Complete() {
  assert(block_ != nullptr && "a sink completes once");
  block_.get()[size_] = '\0';
  *target_ = block_.release();
  return size_;
}
