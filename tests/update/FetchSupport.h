// The fixture and helpers the fetch tests share.
#pragma once

#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/StartSockets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The progress codes the running test's fetches reported.
inline std::vector<int> progressCodes;
inline void RecordProgress(int code, int, int, int, int) { progressCodes.push_back(code); }
// A connection attempt is always announced by the first progress call.
inline bool ConnectionAttempted() { return std::ranges::count(progressCodes, HTTP_PROGRESS_CONNECTING) > 0; }

class FetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartSockets());
    progressCodes.clear();
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
inline MemoryReply FetchToMemory(const std::string& url) {
  MemoryReply reply;
  char* block = nullptr;
  reply.result = HttpFetch(url.c_str(), &block, 1, 1, nullptr, RecordProgress);
  if (block != nullptr) {
    reply = {reply.result, true, block[reply.result] == '\0', std::string(block, reply.result)};
    DownloadBuffer::Release(block);
  }
  return reply;
}
