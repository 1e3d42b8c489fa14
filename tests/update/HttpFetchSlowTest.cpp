// The fetch's one-minute budget, run apart from the others (label "slow").
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "framework/MessageQueue.h"
#include "update/FetchFailure.h"

using HttpFetchSlowTest = FetchTest;

TEST_F(HttpFetchSlowTest, SilentServerFailsTheFetchAfterAboutAMinute) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.WaitForRelease(); });
  const DWORD start = GetTickCount();
  const MemoryReply got = FetchToMemory("http://127.0.0.1/version.php");
  EXPECT_FALSE(got.blockSet || got.result != 0);
  EXPECT_EQ(LastFetchFailure(), FetchFailure::kTimedOut);
  EXPECT_GE(GetTickCount() - start, 55000u) << "gave up before the cycle budget ran out";
}
