// How a patch download ends: started, not started, reported; what stays on
// disk; and what the request carries.
#include "DownloadFixture.h"
#include "support/LoopbackServer.h"

#include <malloc.h>

constexpr char kSite[] = "http://127.0.0.1/MRVPatch.exe";

// The whole download, its progress line and the patch's start are walked
// through by the every-button test; what it leaves on disk is checked here.
TEST_F(DownloadTest, APatchOf1000BytesComesInBlocksAndReplacesAnEarlierOneAndAKilledRunsPartOnlyOnceWhole) {
  work.Put("MRVPatch.exe", "old patch");
  work.Put("MRVPatch.exe.part", std::string(5000, 'k'));
  const std::string patch = PatchScript(1000);
  LoopbackServer server(HttpReply(patch));

  window->DownloadPatch(kSite);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return window->m_dwPatchReceived > 0; }));
  EXPECT_EQ(window->m_dwPatchReceived, 512u) << "one block a tick";
  EXPECT_EQ(Percent(), 51);
  EXPECT_EQ(Patch(), "old patch") << "the earlier patch stays until the new one is whole";

  ASSERT_TRUE(testsupport::PumpUntil([&] { return !window->m_bDownloading; }));
  EXPECT_TRUE(Ended(true));
  EXPECT_EQ(Patch(), patch);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(Marker()); }));
  EXPECT_TRUE(NothingLeftBehind());
}

// Every way a download ends without a whole patch: an earlier patch stays as
// it was, byte for byte, nothing else is left, nothing is started, and the
// player is told as the case says.
TEST_F(DownloadTest, ADownloadThatEndsWithoutAWholePatchLeavesTheFolderAsItWas) {
  const std::string patch = PatchScript(1000);
  struct Case {
    const char* name;
    std::string reply;
    bool notice;
  };
  const Case cases[] = {
      {"no Content-Length", "HTTP/1.0 200 OK\r\n\r\n" + patch, false},
      {"Content-Length 0", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", false},
      {"a body that comes short", "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + patch.substr(0, 700), true},
      {"not found", HttpReply("<html>404 Not Found</html>", "404 Not Found"), true},
      {"a server error", HttpReply(patch, "500 Internal Server Error"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    work.Put("MRVPatch.exe", "old patch");
    session.display.messageBoxes.clear();
    DisableUpdateButtons();
    LoopbackServer server(c.reply);

    ASSERT_TRUE(Download(kSite));
    EXPECT_TRUE(Ended(false));
    EXPECT_EQ(Patch(), "old patch");
    EXPECT_TRUE(NothingLeftBehind());
    EXPECT_FALSE(fs::exists(Marker()));
    ASSERT_EQ(Boxes().size(), c.notice ? 1u : 0u);
    if (c.notice) {
      EXPECT_TRUE(IsIncompleteNotice(Boxes()[0]));
    }
  }
}

TEST_F(DownloadTest, LineBreaksInTheSiteTextNeverReachTheRequest) {
  LoopbackServer server(HttpReply(std::string(50, 't')));

  ASSERT_TRUE(Download(" http://127.0.0.1/MRV\r\nX-Injected: yes\r\nPatch.exe\r\n"));
  EXPECT_EQ(Percent(), 100) << "a size below 100 divides by nothing";
  const std::string& request = server.Request();
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /MRV%0D%0AX-Injected:%20yes%0D%0APatch.exe HTTP/1.0");
  EXPECT_EQ(request.find("\r\nX-Injected"), std::string::npos);
}

TEST_F(DownloadTest, MemoryStaysFlatWhileA20MegabytePatchDownloads) {
  constexpr std::size_t kSize = 20 * 1024 * 1024;
  constexpr std::size_t kPiece = 64 * 1024;
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.Send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(kSize) + "\r\n\r\n");
    const std::string piece(kPiece, 'z');
    for (std::size_t sent = 0; sent < kSize && s.Send(piece); sent += kPiece) {
    }
  });

  window->DownloadPatch(kSite);
  while (window->m_bDownloading && window->m_dwPatchReceived < 2 * 1024 * 1024) window->DownloadPatch(nullptr);
  const std::size_t inUse = mallinfo2().uordblks;
  std::size_t most = inUse;
  while (window->m_bDownloading) {
    most = std::max(most, mallinfo2().uordblks);
    window->DownloadPatch(nullptr);
  }
  EXPECT_LT(most - inUse, std::size_t{256 * 1024});
  EXPECT_EQ(window->m_dwPatchReceived, kSize);
  EXPECT_EQ(Percent(), 100);
  EXPECT_EQ(fs::file_size("MRVPatch.exe"), kSize);
}
