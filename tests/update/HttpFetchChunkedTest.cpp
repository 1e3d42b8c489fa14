// Chunked replies through the whole fetch, in memory and into a file: replies
// sent in parts that the fetch reads apart, split at awkward places, a reply
// that ends by its framing while the connection stays open, and the bound on
// what is kept.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"
#include "support/ScratchFolder.h"

#include "framework/MessageQueue.h"
#include "update/MemorySink.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr char kUrl[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/download_sites.php";
const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

std::string Chunk(const std::string& data) {
  char size[16];
  std::snprintf(size, sizeof size, "%zx", data.size());
  return size + ("\r\n" + data + "\r\n");
}

// The server of the running test sends each part only once the fetch has
// read every byte of the parts before it, which a timer tells from the bytes
// received that the fetch reports.
struct PartsInFlight {
  LoopbackServer* server = nullptr;
  std::vector<int> sentBytes;  // after each part
  std::size_t released = 0;
};
PartsInFlight inFlight;

void ReleaseNextPart(HWND, UINT, UINT_PTR, DWORD) {
  if (inFlight.released + 1 < inFlight.sentBytes.size() && !progressCalls.empty() &&
      progressCalls.back().receivedBytes == inFlight.sentBytes[inFlight.released]) {
    ++inFlight.released;
    inFlight.server->Release();
  }
}

class HttpFetchChunkedTest : public FetchTest {
 protected:
  // What a fetch of the reply sent in parts handed back (the block, or the
  // file written), or nothing when it failed; the server closes after the
  // last part. Checks that every part was sent apart.
  std::optional<std::string> FetchInParts(const std::vector<std::string>& parts, bool toFile) {
    LoopbackServer server("127.0.0.1", [&](LoopbackServer& s) {
      for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
          s.WaitForRelease();
        }
        s.Send(parts[i]);
      }
    });
    inFlight = {&server, {}, 0};
    int sent = 0;
    for (const std::string& part : parts) {
      inFlight.sentBytes.push_back(sent += int(part.size()));
    }
    progressCalls.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, ReleaseNextPart);
    std::optional<std::string> text;
    if (toFile) {
      work_.Put("MRVPatch.exe", "old patch");
      if (HttpFetch(kUrl, const_cast<char*>(patch_.c_str()), 0, 0, nullptr, RecordProgress) != 0 ||
          fs::exists(patch_)) {
        text = work_.Read("MRVPatch.exe");
      }
    } else if (const MemoryReply got = FetchToMemory(kUrl); got.blockSet) {
      EXPECT_TRUE(got.terminated);
      EXPECT_EQ(got.result, int(got.text.size()));
      text = got.text;
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(inFlight.released + 1, parts.size()) << "a part was not sent apart";
    return text;
  }

  ScratchFolder work_;
  const fs::path patch_ = work_.Path() / "MRVPatch.exe";
};

const std::string kSiteBody = "MRVDOWNLOADSITEKEY=http://127.0.0.1/patch/MRVPatch.exe\n";
const std::string kNginxHead =
    "HTTP/1.1 200 OK\r\nServer: nginx/1.22.1\r\nContent-Type: text/html; charset=UTF-8\r\n"
    "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n";

}  // namespace

TEST_F(HttpFetchChunkedTest, RepliesSplitAnywhereArriveDecodedInMemoryAndInTheFile) {
  const struct {
    std::vector<std::string> parts;
    std::optional<std::string> text;  // none: the fetch fails
  } cases[] = {
      // Split inside a header's name, inside the size line, between CR and
      // LF after the size, inside the data, before and inside the CR LF after
      // it, inside the last chunk.
      {{"HTTP/1.1 200 OK\r\nServer: nginx/1.22.1\r\nContent-Type: text/html; charset=UTF-8\r\nTransfer-Enc",
        "oding: chunked\r\nConnection: close\r\n\r\n3", "7\r", "\nMRVDOWNLOADSITEKEY=http://127.0.0.1/pat",
        "ch/MRVPatch.exe\n", "\r", "\n0\r", "\n\r\n"},
       kNginxHead + kSiteBody},
      // Several chunks with extensions and trailers, the last line end apart.
      {{"HTTP/1.1 200 OK\r\ntransfer-encoding: CHUNKED\r\n\r\n", "5;ext=1\r\nMRVVE\r\n",
        "e\r\nRSION2.0.1.0.4\r\n0\r\nX-T: 1\r", "\n\r", "\n"},
       "HTTP/1.1 200 OK\r\ntransfer-encoding: CHUNKED\r\n\r\nMRVVERSION2.0.1.0.4"},
      // Not chunked: as received, framing-like text and all.
      {{"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r", "\n5\r\nab\r\n0"},
       "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n5\r\nab\r\n0"},
      // The server closes before the last chunk.
      {{kChunkedHead, "5\r\nMRVVE\r\n"}, std::nullopt},
      {{kChunkedHead, Chunk(kSiteBody), "0\r\n"}, std::nullopt},
      // A size past the end of what comes.
      {{kChunkedHead, "40\r\nMRVVERSION2.0.1.0.4\r\n", "0\r\n\r\n"}, std::nullopt},
      // Malformed framing.
      {{kChunkedHead, "5x\r\nMRVVE\r\n0\r\n\r\n"}, std::nullopt},
      {{kChunkedHead, "5\r\nMRVVE", "RSION\r\n0\r\n\r\n"}, std::nullopt},
  };
  for (const auto& c : cases) {
    for (const bool toFile : {false, true}) {
      const std::string what = (toFile ? "file: " : "memory: ") + c.parts[0] + "|" + c.parts[1];
      const std::optional<std::string> text = FetchInParts(c.parts, toFile);
      EXPECT_EQ(text, c.text) << what;
      if (!c.text) {
        EXPECT_FALSE(toFile && fs::exists(patch_)) << what << ": a file was left";
        continue;
      }
      int raw = 0;
      for (const std::string& part : c.parts) {
        raw += int(part.size());
      }
      ASSERT_FALSE(progressCalls.empty()) << what;
      const ProgressCall last = progressCalls.back();
      EXPECT_EQ(last.code, HTTP_PROGRESS_COMPLETED) << what;
      EXPECT_EQ(last.storedBytes, int(c.text->size())) << what;
      EXPECT_EQ(last.receivedBytes, raw) << what;
      EXPECT_EQ(last.firstChunk, int(c.parts[0].size())) << what;
    }
  }
}

TEST_F(HttpFetchChunkedTest, AChunkedReplyEndsWithItsLastChunkThoughTheConnectionStaysOpen) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.Send(kNginxHead + Chunk(kSiteBody) + "0\r\n\r\ntrailing bytes are no part of it");
    s.WaitForRelease();
  });
  const DWORD start = GetTickCount();
  const MemoryReply got = FetchToMemory(kUrl);
  EXPECT_LT(GetTickCount() - start, 30000u) << "waited for the server to close";
  EXPECT_EQ(got.text, kNginxHead + kSiteBody);
  EXPECT_TRUE(got.blockSet && got.terminated);
  server.Release();
}

TEST_F(HttpFetchChunkedTest, TheMebibyteBoundHoldsForTheDecodedText) {
  // Chunks of 1000 bytes add more than 7000 bytes of framing to a reply
  // whose decoded text is exactly the largest kept.
  const std::string head = kNginxHead;
  std::string body(MemorySink::kMaxReplyBytes - head.size(), 'b');
  const auto encode = [&](const std::string& text) {
    std::string reply = head;
    for (std::size_t at = 0; at < text.size(); at += 1000) {
      reply += Chunk(text.substr(at, 1000));
    }
    return reply + "0\r\n\r\n";
  };
  const std::string largest = encode(body);
  ASSERT_GT(largest.size(), std::size_t{MemorySink::kMaxReplyBytes} + 7000);
  const std::string over = encode(body + "!");
  LoopbackServer kept(largest);
  LoopbackServer refused("127.0.0.2", [&](LoopbackServer& s) { s.Send(over); });

  const MemoryReply got = FetchToMemory("http://127.0.0.1/large");
  EXPECT_EQ(got.result, MemorySink::kMaxReplyBytes);
  EXPECT_TRUE(got.text == head + body && got.terminated);
  const MemoryReply overGot = FetchToMemory("http://127.0.0.2/large");
  EXPECT_FALSE(overGot.blockSet || overGot.result != 0);
}
