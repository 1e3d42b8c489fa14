// The queue's order and timer rules, which the launcher's staged start-up,
// its status refresh and its nested pumps rely on.
#include "framework/CWnd.h"
#include "framework/MessageBox.h"
#include "framework/WindowRecord.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testsupport::HeadlessSession;
using testsupport::PumpUntil;

constexpr UINT WM_APP_A = WM_USER + 1;
constexpr UINT WM_APP_B = WM_USER + 2;
constexpr UINT WM_APP_NESTED = WM_USER + 3;

// Waits, without dispatching anything, until the clock has moved on by ms.
void LetTimePass(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
  }
}

// A window that logs what reaches it.
class LogWindow : public CWnd {
 public:
  std::vector<std::string> log;
  bool postFromCreate = false;
  bool zeroTimerFromCreate = false;
  DWORD tickWorkMs = 0;  // how long each tick's handler works

  BOOL CreateTopLevel() { return CreateEx(0, nullptr, "log", WS_POPUP, 0, 0, 100, 100, nullptr, 0); }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(),
                                {
                                    msgmap::Create(&LogWindow::OnCreate),
                                    msgmap::Paint(&LogWindow::OnPaint),
                                    msgmap::Timer(&LogWindow::OnTimer),
                                    msgmap::MouseMove(&LogWindow::OnMouseMove),
                                    msgmap::Message(WM_APP_A, &LogWindow::OnA),
                                    msgmap::Message(WM_APP_B, &LogWindow::OnB),
                                    msgmap::Message(WM_APP_NESTED, &LogWindow::OnNested),
                                }};
    return &map;
  }

  int OnCreate(CREATESTRUCT*) {
    log.push_back("create");
    if (postFromCreate) {
      PostMessage(WM_APP_A);
    }
    if (zeroTimerFromCreate) {
      SetTimer(1, 0, nullptr);
    }
    return 0;
  }
  void OnPaint() {
    log.push_back("paint");
    PAINTSTRUCT ps;
    BeginPaint(&ps);
    EndPaint(&ps);
  }
  void OnMouseMove(UINT, POINT) { log.push_back("move"); }
  void OnTimer(UINT_PTR id) {
    log.push_back("timer" + std::to_string(id));
    LetTimePass(tickWorkMs);
    if (id == 1) {
      KillTimer(1);
    }
  }
  LRESULT OnA(WPARAM, LPARAM) {
    log.push_back("A");
    return 0;
  }
  LRESULT OnB(WPARAM, LPARAM) {
    log.push_back("B");
    return 0;
  }
  // A handler that runs its own pump, as a server query does while it waits.
  LRESULT OnNested(WPARAM, LPARAM) {
    log.push_back("nested-begin");
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!GetMessage(&msg, nullptr, 0, 0)) {
        log.push_back("quit" + std::to_string(msg.wParam));
        break;
      }
      DispatchMessage(&msg);
    }
    log.push_back("nested-end");
    return 0;
  }
};

class MessageQueueTest : public ::testing::Test {
 protected:
  HeadlessSession session;
};

TEST_F(MessageQueueTest, PostedMessagesComeInOrderThenPaintThenOneTickOfADueTimerHoweverLongItWaited) {
  LogWindow w;
  ASSERT_TRUE(w.CreateTopLevel());
  w.ShowWindow(SW_SHOW);
  w.SetTimer(5, 50, nullptr);
  LetTimePass(160);
  w.PostMessage(WM_APP_A);
  w.PostMessage(WM_APP_B);
  w.PostMessage(WM_APP_A);
  ASSERT_TRUE(PumpUntil([&] { return w.log.size() >= 6; }));
  EXPECT_EQ(w.log, (std::vector<std::string>{"create", "A", "B", "A", "paint", "timer5"}));
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) << "a second tick was queued while the first waited";
}

TEST_F(MessageQueueTest, AZeroTimerSetAtCreationFiresOnceAfterCreationMessagesAndTheFirstPaintAndAKilledOneNever) {
  LogWindow w;
  w.postFromCreate = true;
  w.zeroTimerFromCreate = true;
  ASSERT_TRUE(w.CreateTopLevel());
  w.ShowWindow(SW_SHOW);
  w.UpdateWindow();
  w.SetTimer(5, 10, nullptr);
  EXPECT_TRUE(w.KillTimer(5));
  EXPECT_FALSE(w.KillTimer(5));
  w.SetTimer(9, 50, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return !w.log.empty() && w.log.back() == "timer9"; }));
  EXPECT_EQ(w.log, (std::vector<std::string>{"create", "paint", "A", "timer1", "timer9"}));
}

TEST_F(MessageQueueTest, ANestedPumpDispatchesAndTakesTheQuitMessageAfterThePostedOnes) {
  LogWindow w;
  ASSERT_TRUE(w.CreateTopLevel());
  w.PostMessage(WM_APP_NESTED);
  w.PostMessage(WM_APP_A);
  w.PostMessage(WM_APP_B);
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  DispatchMessage(&msg);
  EXPECT_EQ(w.log, (std::vector<std::string>{"create", "nested-begin", "A", "B", "nested-end"}));

  w.PostMessage(WM_APP_NESTED);
  PostQuitMessage(3);
  w.PostMessage(WM_APP_A);
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  DispatchMessage(&msg);
  EXPECT_EQ(std::vector<std::string>(w.log.end() - 4, w.log.end()),
            (std::vector<std::string>{"nested-begin", "A", "quit3", "nested-end"}));
}

TEST_F(MessageQueueTest, AModalMessageBoxKeepsDispatchingTimersAndPaintsUntilAQuitWhichItPostsAgain) {
  LogWindow w;
  ASSERT_TRUE(w.CreateTopLevel());
  w.ShowWindow(SW_SHOW);
  w.UpdateWindow();
  w.SetTimer(5, 10, nullptr);
  int timerTicks = 0;
  bool invalidated = false;
  session.display.keepMessageBoxOpen = [&](const platform::HeadlessDisplay::ShownMessageBox&) {
    timerTicks = static_cast<int>(std::count(w.log.begin(), w.log.end(), "timer5"));
    if (timerTicks == 1 && !invalidated) {
      w.InvalidateRect(nullptr);
      invalidated = true;
    }
    return timerTicks < 3;
  };
  EXPECT_EQ(MessageBox(w.m_hWnd, "text", "caption", MB_OK), IDOK);
  EXPECT_EQ(timerTicks, 3);
  EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "paint"), 2) << "the first paint, then one during the box";
  ASSERT_EQ(session.display.messageBoxes.size(), 1u);
  EXPECT_TRUE(testsupport::IsBox(session.display.messageBoxes[0], "text", "caption", w.m_hWnd->native));

  // A quit taken by a box closes it and is posted again.
  session.display.keepMessageBoxOpen = [](const platform::HeadlessDisplay::ShownMessageBox&) { return true; };
  PostQuitMessage(0);
  EXPECT_EQ(MessageBox(nullptr, "text", nullptr, MB_OK), IDOK);
  EXPECT_EQ(session.display.messageBoxes.at(1).caption, "Error") << "no caption shows Windows' default";
  MSG msg;
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
}

TEST_F(MessageQueueTest, AWaitOnADescriptorEndsForItsNewsAMessageOrADueTimer) {
  LogWindow w;
  ASSERT_TRUE(w.CreateTopLevel());
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  platform::FdWatch watch{ends[0], true, false};

  // Each wait below would last forever if its end were missed.
  w.PostMessage(WM_APP_A);
  MsgWaitForDescriptor(watch, INFINITE);
  EXPECT_FALSE(watch.ready) << "a waiting message ends the wait at once";
  ASSERT_TRUE(PumpUntil([&] { return w.log.back() == "A"; }));

  w.SetTimer(5, 10, nullptr);
  MsgWaitForDescriptor(watch, INFINITE);
  EXPECT_FALSE(watch.ready);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  w.KillTimer(5);

  ASSERT_EQ(write(ends[1], "x", 1), 1);
  MsgWaitForDescriptor(watch, INFINITE);
  EXPECT_TRUE(watch.ready);
  close(ends[0]);
  close(ends[1]);
}

}  // namespace

TEST_F(MessageQueueTest, InputGetsThroughWhileATimersTicksOutlastItsPeriod) {
  LogWindow w;
  ASSERT_TRUE(w.CreateTopLevel());
  w.tickWorkMs = 15;
  w.SetTimer(2, 10, nullptr);
  MSG msg;
  // From the first tick on, the next one is due whenever the queue is asked.
  while (w.log.empty() || w.log.back() != "timer2") {
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    DispatchMessage(&msg);
  }
  session.display.atNextLook = [&] { session.display.MoveMouse(w.m_hWnd->native, 5, 5); };
  for (int i = 0; i < 20 && std::find(w.log.begin(), w.log.end(), "move") == w.log.end(); ++i) {
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    DispatchMessage(&msg);
  }
  EXPECT_NE(std::find(w.log.begin(), w.log.end(), "move"), w.log.end()) << "only ticks came through";
}
