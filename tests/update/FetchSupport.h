// The fixture and helpers the fetch tests share.
#pragma once

#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/StartSockets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

struct ProgressCall {
  int code, storedBytes, firstChunk, receivedBytes, startTick;
  bool operator==(const ProgressCall&) const = default;
};
// What RecordProgress saw in the running test.
inline std::vector<ProgressCall> progressCalls;
inline void RecordProgress(int code, int stored, int firstChunk, int received, int startTick) {
  progressCalls.push_back({code, stored, firstChunk, received, startTick});
}
// A connection attempt is always announced by the first progress call.
inline bool ConnectionAttempted() {
  return std::ranges::any_of(progressCalls, [](auto& c) { return c.code == HTTP_PROGRESS_CONNECTING; });
}

class FetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartSockets());
    progressCalls.clear();
  }
  void TearDown() override { CleanupSockets(); }
};

struct MemoryReply {
  int result = 0;
  bool blockSet = false;
  bool terminated = false;  // a zero follows the stored bytes
  std::string text;
};
// A memory-mode fetch with progress recorded; the block is released.
inline MemoryReply FetchToMemory(const std::string& url, int noCache = 1, int* stop = nullptr) {
  MemoryReply reply;
  char* block = nullptr;
  reply.result = HttpFetch(url.c_str(), &block, 1, noCache, stop, RecordProgress);
  if (block != nullptr) {
    reply = {reply.result, true, block[reply.result] == '\0', std::string(block, reply.result)};
    DownloadBuffer::Release(block);
  }
  return reply;
}
