// What a memory-mode fetch hands back for each way a server may answer, and
// a quit message taken by the fetch's message pump.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "framework/MessageQueue.h"

namespace {

using HttpFetchReplyTest = FetchTest;

// The two-part reply's second part is released by a timer, so it is sent
// only once the fetch, having stored the first, is dispatching messages.
constexpr std::string_view kFirstPart = "HTTP/1.1 200 OK\r\n\r\nMRVVERSION=";
LoopbackServer* twoPartServer = nullptr;
bool secondPartReleased = false;

void ReleaseSecondPart(HWND, UINT, UINT_PTR, DWORD) {
  if (!secondPartReleased && !progressCalls.empty() && progressCalls.back().storedBytes == int(kFirstPart.size())) {
    secondPartReleased = true;
    twoPartServer->Release();
  }
}

}  // namespace

TEST_F(HttpFetchReplyTest, WholeReplyIsReturnedTerminatedAndReported) {
  const std::string reply = HttpReply(std::string(5000, 'v'));
  LoopbackServer server(reply);

  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");

  EXPECT_EQ(got.result, int(reply.size()));
  EXPECT_EQ(got.text, reply);
  EXPECT_TRUE(got.terminated);
  ASSERT_GE(progressCalls.size(), 3u);
  const int tick = progressCalls[0].startTick, firstChunk = progressCalls[1].storedBytes;
  EXPECT_EQ(progressCalls.front(), (ProgressCall{HTTP_PROGRESS_CONNECTING, 0, 0, 0, tick}));
  for (std::size_t i = 1; i + 1 < progressCalls.size(); ++i) {
    const int stored = progressCalls[i].storedBytes;
    EXPECT_GT(stored, progressCalls[i - 1].storedBytes);
    EXPECT_EQ(progressCalls[i], (ProgressCall{HTTP_PROGRESS_CHUNK, stored, firstChunk, stored, tick}));
  }
  EXPECT_EQ(progressCalls.back(), (ProgressCall{HTTP_PROGRESS_COMPLETED, got.result, firstChunk, got.result, tick}));
}

TEST_F(HttpFetchReplyTest, ReplyInTwoPartsIsReturnedWholeWhileTimersRun) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.Send(kFirstPart);
    s.WaitForRelease();
    s.Send("2.0.1.2.3");
  });
  twoPartServer = &server;
  secondPartReleased = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, ReleaseSecondPart);
  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");
  KillTimer(nullptr, timer);

  EXPECT_TRUE(secondPartReleased);
  EXPECT_EQ(got.text, std::string(kFirstPart) + "2.0.1.2.3");
  EXPECT_TRUE(got.terminated);
}

TEST_F(HttpFetchReplyTest, ServerClosingWithoutSendingGivesAnEmptyTerminatedBlock) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer&) {});
  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");
  EXPECT_EQ(got.result, 0);
  EXPECT_TRUE(got.blockSet && got.terminated);
}

TEST_F(HttpFetchReplyTest, RepliesOverOneMebibyteFail) {
  std::string largest = "HTTP/1.1 200 OK\r\n\r\n";
  largest.resize(1 << 20, 'b');
  LoopbackServer kept(largest);
  LoopbackServer refused("127.0.0.2", [&](LoopbackServer& s) { s.Send(largest + "!"); });

  const MemoryReply got = FetchToMemory("http://127.0.0.1/large");
  EXPECT_EQ(got.result, 1 << 20);
  EXPECT_TRUE(got.text == largest && got.terminated);
  const MemoryReply over = FetchToMemory("http://127.0.0.2/large");
  EXPECT_FALSE(over.blockSet || over.result != 0);
}

TEST_F(HttpFetchReplyTest, RefusedFailsAtTheFirstSendNotAtTheTimeOutAndAStopFlagSetRightAfterTheAttempt) {
  const DWORD start = GetTickCount();
  const MemoryReply refused = FetchToMemory("http://127.0.0.3/version.php");  // nothing listens there
  EXPECT_FALSE(refused.blockSet || refused.result != 0);
  EXPECT_TRUE(ConnectionAttempted());
  EXPECT_LT(GetTickCount() - start, 30000u) << "failed only by the one-minute time-out";

  LoopbackServer server(HttpReply("ok"));
  progressCalls.clear();
  int stop = 1;
  const MemoryReply stopped = FetchToMemory("http://127.0.0.1/version.php", 1, &stop);
  EXPECT_FALSE(stopped.blockSet || stopped.result != 0);
  ASSERT_EQ(progressCalls.size(), 1u);
  EXPECT_EQ(progressCalls[0].code, HTTP_PROGRESS_CONNECTING);
}

TEST_F(HttpFetchReplyTest, QuitTakenDuringTheFetchFailsItAndReachesTheOuterLoop) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.WaitForRelease();
    s.Send(HttpReply("late"));
  });
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(42);
  });
  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");
  KillTimer(nullptr, timer);

  EXPECT_FALSE(got.blockSet || got.result != 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 42u);
}

TEST(StartSocketsTest, NestedStartsKeepSocketsUntilTheLastCleanup) {
  LoopbackServer server(HttpReply("ok"));
  ASSERT_TRUE(StartSockets() && StartSockets());
  CleanupSockets();
  EXPECT_TRUE(FetchToMemory("http://127.0.0.1/v").blockSet);
  CleanupSockets();
  progressCalls.clear();
  EXPECT_FALSE(FetchToMemory("http://127.0.0.1/v").blockSet);
  EXPECT_FALSE(ConnectionAttempted());
}
