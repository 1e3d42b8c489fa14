// How a patch download ends: started, not started, reported; what stays on
// disk; and what the request carries.
#include "DownloadFixture.h"
#include "support/LoopbackServer.h"

#include <malloc.h>

constexpr char kSite[] = "http://127.0.0.1/MRVPatch.exe";

TEST_F(DownloadTest, APatchOf1000BytesReplacesAnEarlierFileTakesTwoStepsThenStartsAndTheLauncherQuits) {
  {
    LoopbackServer first(HttpReply(std::string(3000, 'e')));
    window->DownloadPatch(kSite);
    while (window->m_bDownloading) window->DownloadPatch(nullptr);
    ASSERT_EQ(Patch(), std::string(3000, 'e'));  // not a program: both messages, buttons back
  }
  session.display.messageBoxes.clear();
  DisableUpdateButtons();
  const std::string patch = PatchScript(1000);
  LoopbackServer server(HttpReply(patch));

  window->DownloadPatch(kSite);
  EXPECT_TRUE(window->m_bDownloading);
  EXPECT_EQ(Percent(), 51);
  EXPECT_EQ(window->m_dwPatchSize, 1000u);
  EXPECT_EQ(window->m_dwPatchReceived, 512u);
  EXPECT_EQ(Patch(), patch.substr(0, 512)) << "the earlier file is emptied first";
  EXPECT_EQ(window->m_buttons.GetAt(1)->m_nState, SBS_DISABLED);

  // The download timer runs the second step.
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !window->m_bDownloading; }));
  EXPECT_EQ(Percent(), 100);
  EXPECT_TRUE(Ended(true));
  EXPECT_EQ(Patch(), patch);
  EXPECT_NE(fs::status("MRVPatch.exe").permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(Marker()); }));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(server.Request().substr(0, server.Request().find("\r\n")), "GET /MRVPatch.exe HTTP/1.0");
}

TEST_F(DownloadTest, ASizeThatIsAMultipleOf512EndsOnTheStepThatReachesIt) {
  LoopbackServer server(HttpReply(PatchScript(1024)));

  window->DownloadPatch(kSite);
  EXPECT_EQ(Percent(), 50);
  window->DownloadPatch(nullptr);
  EXPECT_TRUE(Ended(true)) << "no third, empty read";
  EXPECT_EQ(Percent(), 100);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(Marker()); }));
}

TEST_F(DownloadTest, NoContentLengthLeavesAnEmptyFileStartsNothingAndShowsNothing) {
  std::ofstream("MRVPatch.exe") << "old patch";
  LoopbackServer server("HTTP/1.0 200 OK\r\n\r\n" + PatchScript(1000));

  window->DownloadPatch(kSite);
  EXPECT_TRUE(Ended(false));
  EXPECT_EQ(window->m_dwPatchSize, 0u);
  EXPECT_TRUE(fs::exists("MRVPatch.exe"));
  EXPECT_EQ(Patch(), "");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(DownloadTest, APatchThatComesShortIsNotStartedAndTheIncompleteNoticeShows) {
  const std::string patch = PatchScript(1000);
  LoopbackServer server("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + patch.substr(0, 700));

  window->DownloadPatch(kSite);
  window->DownloadPatch(nullptr);
  EXPECT_TRUE(Ended(false));
  EXPECT_EQ(window->m_dwPatchReceived, 700u);
  EXPECT_EQ(Patch(), patch.substr(0, 700));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(IsIncompleteNotice(Boxes()[0]));
  EXPECT_FALSE(fs::exists(Marker()));
}

TEST_F(DownloadTest, ANotFoundPageIsSavedAndFailsToStartWithBothMessages) {
  // 150 bytes: one step, and the percentage is 100, not 150.
  const std::string page = "<html>404 Not Found</html>" + std::string(124, ' ');
  LoopbackServer server(HttpReply(page, "404 Not Found"));

  window->DownloadPatch(kSite);
  EXPECT_TRUE(Ended(false));
  EXPECT_EQ(Percent(), 100);
  EXPECT_EQ(Patch(), page);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, "CreateProcess failed.");
  EXPECT_TRUE(IsIncompleteNotice(Boxes()[1]));
}

TEST_F(DownloadTest, LineBreaksInTheSiteTextNeverReachTheRequest) {
  LoopbackServer server(HttpReply(std::string(50, 't')));

  window->DownloadPatch(" http://127.0.0.1/MRV\r\nX-Injected: yes\r\nPatch.exe\r\n");
  EXPECT_EQ(Percent(), 100) << "a size below 100 divides by nothing";
  const std::string& request = server.Request();
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /MRV%0D%0AX-Injected:%20yes%0D%0APatch.exe HTTP/1.0");
  EXPECT_EQ(request.find("\r\nX-Injected"), std::string::npos);
  EXPECT_TRUE(Ended(false));
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
