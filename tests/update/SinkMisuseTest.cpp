// A fetch's sinks stop the program, in builds with asserts, when they are
// completed twice or stored into after completing.
#include "update/ChunkedSink.h"
#include "update/DownloadBuffer.h"
#include "update/FileSink.h"
#include "update/MemorySink.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr char kReply[] = "HTTP/1.0 200 OK\r\n\r\nbody";

// Each opens a sink; a memory block a completed sink hands over goes to *block.
std::unique_ptr<FetchSink> OpenMemorySink(char** block) { return MemorySink::Open(block); }

std::unique_ptr<FetchSink> OpenFileSink(char**) { return FileSink::Open("reply.txt"); }

std::unique_ptr<FetchSink> OpenChunkedSink(char** block) {
  return std::make_unique<ChunkedSink>(MemorySink::Open(block));
}

struct Misuse {
  const char* name;
  std::function<std::unique_ptr<FetchSink>(char**)> open;
  bool storeAfterwards;  // store once more after completing, rather than complete again
  const char* message;
};

const Misuse kMisuses[] = {
    {"memory sink completed twice", OpenMemorySink, false, "a sink completes once"},
    {"memory sink stored into after completing", OpenMemorySink, true, "a completed sink stores nothing more"},
    {"file sink completed twice", OpenFileSink, false, "a sink completes once"},
    {"file sink stored into after completing", OpenFileSink, true, "a completed sink stores nothing more"},
    {"chunked sink completed twice", OpenChunkedSink, false, "a sink completes once"},
};

}  // namespace

TEST(SinkMisuse, StopsTheProgram) {
#ifdef NDEBUG
  GTEST_SKIP() << "asserts are compiled out of this build";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ScratchFolder folder;
  for (const Misuse& misuse : kMisuses) {
    SCOPED_TRACE(misuse.name);
    char* block = nullptr;
    std::unique_ptr<FetchSink> sink = misuse.open(&block);
    ASSERT_NE(sink, nullptr);
    ASSERT_TRUE(sink->Store(kReply, sizeof kReply - 1));
    ASSERT_EQ(sink->Complete(), static_cast<int>(sizeof kReply - 1));
    const DownloadBuffer::Owner handedOver(block);
    if (misuse.storeAfterwards) {
      EXPECT_DEATH(sink->Store(kReply, 1), misuse.message);
    } else {
      EXPECT_DEATH(sink->Complete(), misuse.message);
    }
  }
}
