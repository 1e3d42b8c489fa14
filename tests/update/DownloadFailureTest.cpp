// Downloads that fail: the reply breaks or stalls, the patch cannot be
// written or take its name. Each ends cleanly before the player is told: the play and update buttons come back, an
// earlier patch stays and no part is left.
#include "DownloadFixture.h"
#include "framework/Internet.h"
#include "support/LoopbackServer.h"

#include <sys/resource.h>
#include <csignal>

namespace {

constexpr char kSite[] = "http://127.0.0.1/MRVPatch.exe";

bool IsStopBox(const platform::HeadlessDisplay::ShownMessageBox& box, const std::string& textPart) {
  return box.stopIcon && box.caption == "download_tests" && box.text.find(textPart) != std::string::npos;
}

}  // namespace

// A server that cannot be reached is walked through by the download-ends run
// of every-button.sh.
TEST_F(DownloadTest, ABrokenOrStalledReplyShowsItsTextOnceAndKeepsTheEarlierPatch) {
  using namespace std::chrono_literals;
  struct Case {
    const char* name;
    std::string sent;
    DWORD receiveTimeoutMs;  // 0: the default
    const char* text;
  };
  const Case cases[] = {
      {"a broken chunk",
       "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nTransfer-Encoding: chunked\r\n\r\n200\r\n" + std::string(512, 'r') +
           "\r\nnot a chunk size\r\n",
       0, "chunk"},
      {"a stall", "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(700, 's'), 300,
       "nothing received for 300 ms"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    work.Put("MRVPatch.exe", "old patch");
    session.display.messageBoxes.clear();
    DisableUpdateButtons();
    LoopbackServer server("127.0.0.1", [&c](LoopbackServer& s) {
      s.Send(c.sent);
      s.WaitForRelease();
    });

    SendMessage(hwnd, DownloadWindow::WM_START_DOWNLOAD, 0, reinterpret_cast<LPARAM>(kSite));
    if (c.receiveTimeoutMs != 0) window->m_pHttpFile->SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, c.receiveTimeoutMs);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !Boxes().empty(); }));  // a tick's step fails
    EXPECT_TRUE(IsStopBox(Boxes()[0], c.text)) << Boxes()[0].text;
    EXPECT_TRUE(Ended(false));
    testsupport::PumpUntil([] { return false; }, 100ms);
    EXPECT_EQ(Boxes().size(), 1u) << "one box, however many ticks follow";
    EXPECT_EQ(Patch(), "old patch");
    EXPECT_TRUE(NothingLeftBehind());
    server.Release();
  }
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
