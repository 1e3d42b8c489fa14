// The fetch's one-minute budget, run apart from the others (label "slow").
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "framework/MessageQueue.h"
#include "update/FetchFailure.h"

#include <chrono>
#include <string>
#include <thread>

using HttpFetchSlowTest = FetchTest;

TEST_F(HttpFetchSlowTest, SilentServerFailsTheFetchAfterAboutAMinute) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.WaitForRelease(); });
  const DWORD start = GetTickCount();
  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");
  EXPECT_FALSE(got.blockSet || got.result != 0);
  EXPECT_EQ(LastFetchFailure(), FetchFailure::kTimedOut);
  EXPECT_GE(GetTickCount() - start, 55000u) << "gave up before the cycle budget ran out";
}

TEST_F(HttpFetchSlowTest, ASlowButSteadyReplyOutlastingTheBudgetIsReadWhole) {
  // Three parts 40 s apart: 80 s in all, then the close. Each part restores
  // the budget, so the whole reply comes back although it took longer than
  // a silent server is given; without the restore the fetch would fail
  // before the last part.
  const std::string parts[] = {"HTTP/1.1 200 OK\r\n", "X-Part: 2\r\n", "\r\nbody"};
  LoopbackServer server("127.0.0.1", [&](LoopbackServer& s) {
    for (std::size_t i = 0; i < std::size(parts); ++i) {
      if (i > 0) {
        std::this_thread::sleep_for(std::chrono::seconds(40));
      }
      s.Send(parts[i]);
    }
  });
  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");
  ASSERT_TRUE(got.blockSet);
  EXPECT_EQ(got.text, parts[0] + parts[1] + parts[2]);
}
