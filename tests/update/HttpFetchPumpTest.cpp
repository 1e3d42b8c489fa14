// A quit message taken by the fetch's message pump.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "framework/MessageQueue.h"

using HttpFetchPumpTest = FetchTest;

TEST_F(HttpFetchPumpTest, QuitTakenDuringTheFetchFailsItAndReachesTheOuterLoop) {
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
