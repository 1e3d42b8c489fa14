// What a memory-mode fetch hands back for each way a server may answer, and
// why a failed one failed. A refused connection and a quit taken by the
// fetch's message pump are the command tests' (LauncherCommandsTest).
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "update/FetchFailure.h"
#include "update/MemorySink.h"

#include <cstdio>
#include <optional>

namespace {

using HttpFetchReplyTest = FetchTest;

constexpr char kUrl[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/download_sites.php";
const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// The head, then the body in chunks of at most 1000 bytes, then the last chunk.
std::string Chunked(const std::string& body) {
  std::string reply = kChunkedHead;
  for (std::size_t at = 0; at < body.size(); at += 1000) {
    const std::string data = body.substr(at, 1000);
    char size[16];
    std::snprintf(size, sizeof size, "%zx\r\n", data.size());
    reply += size + data + "\r\n";
  }
  return reply + "0\r\n\r\n";
}

}  // namespace

// Each reply is sent whole; the server then closes, or keeps the connection
// open when the reply's own framing ends it.
TEST_F(HttpFetchReplyTest, RepliesAreKeptUpToTheirBoundAndDecodedOrFailForTheirReason) {
  std::string largest = "HTTP/1.1 200 OK\r\n\r\n";
  largest.resize(MemorySink::kMaxReplyBytes, 'b');
  const std::string body(MemorySink::kMaxReplyBytes - kChunkedHead.size(), 'c');
  const std::string site = "MRVDOWNLOADSITEKEY=http://127.0.0.1/patch/MRVPatch.exe\n";
  const struct {
    const char* name;
    std::string reply;
    bool staysOpen;
    std::optional<std::string> text;  // none: the fetch fails
    FetchFailure reason;
  } cases[] = {
      {"nothing sent", "", false, "", FetchFailure::kNone},
      {"the largest kept", largest, false, largest, FetchFailure::kNone},
      {"one byte over", largest + "!", false, std::nullopt, FetchFailure::kReply},
      // Chunks of 1000 bytes add over 7000 bytes of framing: the bound holds for the decoded text.
      {"the largest decoded", Chunked(body), false, kChunkedHead + body, FetchFailure::kNone},
      {"one decoded byte over", Chunked(body + "!"), false, std::nullopt, FetchFailure::kReply},
      {"ended by its framing", Chunked(site) + "trailing bytes", true, kChunkedHead + site, FetchFailure::kNone},
      {"closed before the last chunk", kChunkedHead + "5\r\nMRVVE\r\n", false, std::nullopt, FetchFailure::kCutShort},
      {"malformed framing", kChunkedHead + "5x\r\nMRVVE\r\n0\r\n\r\n", false, std::nullopt, FetchFailure::kReply},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer server("127.0.0.1", [&c](LoopbackServer& s) {
      s.Send(c.reply);
      if (c.staysOpen) s.WaitForRelease();
    });
    const MemoryReply got = FetchToMemory(kUrl);
    EXPECT_EQ(LastFetchFailure(), c.reason);
    if (c.text) {
      EXPECT_TRUE(got.blockSet && got.terminated);
      EXPECT_EQ(got.result, int(c.text->size()));
      EXPECT_TRUE(got.text == *c.text) << "the text differs";
    } else {
      EXPECT_FALSE(got.blockSet || got.result != 0);
    }
  }
}

// The sink grows by as many steps as a chunk needs: a chunk longer than one
// step is kept whole, not written past its block.
TEST(MemorySinkTest, KeepsChunksOfAnyLengthWhole) {
  for (const int length : {1, MemorySink::kFirstCapacity, MemorySink::kCapacityGrowth + 1,
                           3 * MemorySink::kCapacityGrowth + MemorySink::kFirstCapacity}) {
    char* block = nullptr;
    auto sink = MemorySink::Open(&block);
    ASSERT_NE(sink, nullptr);
    const std::string first(7, 'a');
    const std::string chunk(static_cast<std::size_t>(length), 'b');
    ASSERT_TRUE(sink->Store(first.data(), static_cast<int>(first.size())));
    ASSERT_TRUE(sink->Store(chunk.data(), length)) << length;
    ASSERT_EQ(sink->Complete(), 7 + length);
    EXPECT_EQ(std::string(block), first + chunk) << length;
    DownloadBuffer::Release(block);
  }
}
