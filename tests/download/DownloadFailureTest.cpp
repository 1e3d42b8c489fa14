// Downloads that fail: the server cannot be reached, the file cannot be
// made, a step's read or write fails. Each ends cleanly before the player is
// told, and the play and update buttons come back.
#include "DownloadFixture.h"
#include "support/LoopbackServer.h"

#include <sys/resource.h>
#include <csignal>

namespace {

bool IsStopBox(const platform::HeadlessDisplay::ShownMessageBox& box, const std::string& textPart) {
  return box.stopIcon && box.caption == "download_tests" && box.text.find(textPart) != std::string::npos;
}

}  // namespace

TEST_F(DownloadTest, AnUnreachableServerShowsCurlsTextAndLeavesTheEarlierFileAlone) {
  std::ofstream("MRVPatch.exe") << "old patch";
  const char site[] = "http://127.0.0.1/MRVPatch.exe";

  SendMessage(hwnd, DownloadWindow::WM_START_DOWNLOAD, 0, reinterpret_cast<LPARAM>(site));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(IsStopBox(Boxes()[0], "Failed to connect to 127.0.0.1 port 80")) << Boxes()[0].text;
  EXPECT_TRUE(Ended(false));
  EXPECT_EQ(Patch(), "old patch");
}

TEST_F(DownloadTest, AFolderThatTakesNoFileShowsCouldntCreateTheFile) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.Send(HttpReply(std::string(1000, 'p'))); });
  // A removed folder takes no new file, whoever runs the test.
  fs::create_directory(work.Path() / "gone");
  fs::current_path(work.Path() / "gone");
  fs::remove(work.Path() / "gone");

  window->DownloadPatch("http://127.0.0.1/MRVPatch.exe");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(testsupport::IsBox(Boxes()[0], "Couldn't create the file!", "download_tests", hwnd->native));
  EXPECT_TRUE(Ended(false));
  EXPECT_NE(server.Request().find("GET /MRVPatch.exe"), std::string::npos) << "the file is made after the send";
}

TEST_F(DownloadTest, AFailingStepEndsTheDownloadCleanlyThenShowsItsException) {
  // A read that fails: the second chunk of the body is malformed.
  {
    LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
      s.Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nTransfer-Encoding: chunked\r\n\r\n200\r\n" +
             std::string(512, 'r') + "\r\nnot a chunk size\r\n");
    });
    window->DownloadPatch("http://127.0.0.1/MRVPatch.exe");
    ASSERT_TRUE(window->m_bDownloading);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !Boxes().empty(); }));  // the timer's step fails
    EXPECT_TRUE(IsStopBox(Boxes()[0], "chunk")) << Boxes()[0].text;
    EXPECT_TRUE(Ended(false));
    EXPECT_EQ(Patch(), std::string(512, 'r'));
  }
  // A write that fails: the file may not grow beyond 700 bytes.
  session.display.messageBoxes.clear();
  DisableUpdateButtons();
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.Send(HttpReply(std::string(2000, 'w'))); });
  window->DownloadPatch("http://127.0.0.1/MRVPatch.exe");
  ASSERT_TRUE(window->m_bDownloading);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  const rlimit small{700, before.rlim_max};
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  SendMessage(hwnd, WM_TIMER, IDT_DOWNLOAD, 0);
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previousHandler);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(IsStopBox(Boxes()[0], "MRVPatch.exe: File too large")) << Boxes()[0].text;
  EXPECT_TRUE(Ended(false));
}
