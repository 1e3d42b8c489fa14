// File-mode fetches: the file is made anew, holds the decoded reply and
// survives only a success.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"
#include "support/ScratchFolder.h"

#include "update/FetchFailure.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace fs = std::filesystem;

namespace {

int stopFlag = 0;
void StopAtFirstChunk(int code, int, int, int, int) {
  if (code == HTTP_PROGRESS_CHUNK) {
    stopFlag = 1;
  }
}

constexpr char kUrl[] = "http://127.0.0.1/MRVPatch.exe";
const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// Each test starts with an old patch file in a fresh directory.
class HttpFetchFileTest : public FetchTest {
 protected:
  void SetUp() override {
    FetchTest::SetUp();
    work_.Put("MRVPatch.exe", "old patch");
  }
  int Fetch(const char* url, int* stop = nullptr, HttpProgressProc progress = nullptr) {
    return HttpFetch(url, const_cast<char*>(patch_.c_str()), 0, 0, stop, progress);
  }
  ScratchFolder work_;
  const fs::path patch_ = work_.Path() / "MRVPatch.exe";
};

}  // namespace

TEST_F(HttpFetchFileTest, AReadOnlyFileIsReplacedByANewOneHoldingTheDecodedReply) {
  fs::permissions(patch_, fs::perms::owner_read);
  const fs::path previous = work_.Path() / "previous";
  fs::create_hard_link(patch_, previous);  // keeps the old file alive under a second name
  LoopbackServer server(kChunkedHead + "2\r\nMZ\r\n0\r\n\r\n");

  EXPECT_EQ(Fetch(kUrl), int(kChunkedHead.size()) + 2);
  EXPECT_EQ(work_.Read("MRVPatch.exe"), kChunkedHead + "MZ");
  EXPECT_FALSE(fs::equivalent(patch_, previous));
  EXPECT_EQ(work_.Read("previous"), "old patch");
  EXPECT_NE(fs::status(patch_).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(HttpFetchFileTest, FailuresAfterCreationLeaveNoFile) {
  const struct {
    const char* name;
    const char* url;
    std::function<void(LoopbackServer&)> script;
    FetchFailure reason;
    bool stopAtFirstChunk = false;
  } cases[] = {
      {"refused", "http://127.0.0.3/MRVPatch.exe", nullptr, FetchFailure::kSend},
      {"stopped once some was written", kUrl,
       [](LoopbackServer& s) {
         s.Send("HTTP/1.1 200 OK\r\n\r\npartial");
         s.WaitForRelease();
       },
       FetchFailure::kStopped, true},
      {"closed before the last chunk", kUrl, [](LoopbackServer& s) { s.Send(kChunkedHead + "5\r\nMRV"); },
       FetchFailure::kCutShort},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    work_.Put("MRVPatch.exe", "old patch");
    stopFlag = 0;
    std::optional<LoopbackServer> server;
    if (c.script) server.emplace("127.0.0.1", c.script);
    EXPECT_EQ(Fetch(c.url, &stopFlag, c.stopAtFirstChunk ? StopAtFirstChunk : nullptr), 0);
    EXPECT_EQ(LastFetchFailure(), c.reason);
    EXPECT_FALSE(fs::exists(patch_));
  }
}
