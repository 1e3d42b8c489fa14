// Downloads that fail: the reply breaks, the patch cannot be written or
// take its name. Each ends cleanly before the
// player is told: the play and update buttons come back, an earlier patch
// stays and no part is left.
#include "DownloadFixture.h"
#include "support/LoopbackServer.h"

#include <sys/resource.h>
#include <csignal>

namespace {

constexpr char kSite[] = "http://127.0.0.1/MRVPatch.exe";

bool IsStopBox(const platform::HeadlessDisplay::ShownMessageBox& box, const std::string& textPart) {
  return box.stopIcon && box.caption == "download_tests" && box.text.find(textPart) != std::string::npos;
}

}  // namespace

// A server that cannot be reached is walked through by the hostile-input test.
TEST_F(DownloadTest, ABrokenReplyShowsItsTextAndKeepsTheEarlierPatch) {
  work.Put("MRVPatch.exe", "old patch");
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nTransfer-Encoding: chunked\r\n\r\n200\r\n" +
           std::string(512, 'r') + "\r\nnot a chunk size\r\n");
  });

  SendMessage(hwnd, DownloadWindow::WM_START_DOWNLOAD, 0, reinterpret_cast<LPARAM>(kSite));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !Boxes().empty(); }));  // a tick's step fails
  EXPECT_TRUE(IsStopBox(Boxes()[0], "chunk")) << Boxes()[0].text;
  EXPECT_TRUE(Ended(false));
  EXPECT_EQ(Patch(), "old patch");
  EXPECT_TRUE(NothingLeftBehind());
}

TEST_F(DownloadTest, APatchThatCannotTakeItsNameIsReportedAndRemoved) {
  fs::create_directory("MRVPatch.exe");
  LoopbackServer server(HttpReply(PatchScript(800)));

  SendMessage(hwnd, DownloadWindow::WM_START_DOWNLOAD, 0, reinterpret_cast<LPARAM>(kSite));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !Boxes().empty(); }));
  EXPECT_TRUE(IsStopBox(Boxes()[0], "MRVPatch.exe: Is a directory")) << Boxes()[0].text;
  EXPECT_TRUE(Ended(false));
  EXPECT_TRUE(fs::is_directory("MRVPatch.exe"));
  EXPECT_TRUE(NothingLeftBehind());
}

TEST_F(DownloadTest, AWriteThatFailsEndsTheDownloadAndRemovesThePart) {
  work.Put("MRVPatch.exe", "old patch");
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.Send(HttpReply(std::string(2000, 'w'))); });
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  const rlimit small{700, before.rlim_max};
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  SendMessage(hwnd, DownloadWindow::WM_START_DOWNLOAD, 0, reinterpret_cast<LPARAM>(kSite));
  const bool failed = testsupport::PumpUntil([&] { return !Boxes().empty(); });
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previousHandler);
  ASSERT_TRUE(failed);
  EXPECT_TRUE(IsStopBox(Boxes()[0], "MRVPatch.exe.part: File too large")) << Boxes()[0].text;
  EXPECT_TRUE(Ended(false));
  EXPECT_EQ(Patch(), "old patch");
  EXPECT_TRUE(NothingLeftBehind());
}
