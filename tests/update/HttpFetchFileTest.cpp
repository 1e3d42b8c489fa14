// File-mode fetches: the file is made anew and survives only a success.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"
#include "support/ScratchFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

int* stopAtFirstChunk = nullptr;
void StopAtFirstChunk(int code, int, int, int, int) {
  if (code == HTTP_PROGRESS_CHUNK) {
    *stopAtFirstChunk = 1;
  }
}

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

TEST_F(HttpFetchFileTest, ReadOnlyFileIsReplacedByANewOne) {
  fs::permissions(patch_, fs::perms::owner_read);
  const fs::path previous = work_.Path() / "previous";
  fs::create_hard_link(patch_, previous);  // keeps the old file alive under a second name
  LoopbackServer server(HttpReply("MZ"));

  EXPECT_EQ(Fetch("http://127.0.0.1/MRVPatch.exe"), int(HttpReply("MZ").size()));
  EXPECT_EQ(work_.Read("MRVPatch.exe"), HttpReply("MZ"));
  EXPECT_FALSE(fs::equivalent(patch_, previous));
  EXPECT_EQ(work_.Read("previous"), "old patch");
  EXPECT_NE(fs::status(patch_).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(HttpFetchFileTest, FailuresAfterCreationLeaveNoFile) {
  EXPECT_EQ(Fetch("http://127.0.0.3/MRVPatch.exe"), 0);  // refused
  EXPECT_FALSE(fs::exists(patch_));

  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.Send("HTTP/1.1 200 OK\r\n\r\npartial");
    s.WaitForRelease();
  });
  int stop = 0;
  stopAtFirstChunk = &stop;
  EXPECT_EQ(Fetch("http://127.0.0.1/MRVPatch.exe", &stop, StopAtFirstChunk), 0);
  EXPECT_EQ(stop, 1);  // some of the reply had been written
  EXPECT_FALSE(fs::exists(patch_));
}
