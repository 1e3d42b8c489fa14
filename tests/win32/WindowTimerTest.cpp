// Timers of window objects on Win32: set and ended through CWnd, the
// framework's record of which are set, and the reports of failing ticks.
#include "MessageBoxWatch.h"
#include "MessagePump.h"
#include "framework/CWnd.h"
#include "framework/Internet.h"
#include "framework/TimerState.h"
#include "support/TickingWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kPeriodMs = 10;

class WindowTimer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 100, 100, nullptr, 0)); }
  // Dispatches until the timer has ticked `more` more times.
  bool TickMore(UINT_PTR id, int more) {
    const int target = window.ticks[id] + more;
    return PumpUntil([&] { return window.ticks[id] >= target; });
  }

  TickingWindow window;
};

}  // namespace

TEST_F(WindowTimer, TheRecordOfSetTimersFollowsSetAndKillAndEndsWithTheWindow) {
  enum Action { kSet, kKill, kDestroy };
  const struct {
    Action action;
    UINT_PTR id;
    bool set1;
    bool set2;
  } steps[] = {
      {kSet, 1, true, false}, {kSet, 2, true, true}, {kKill, 1, false, true},     {kKill, 1, false, true},
      {kSet, 1, true, true},  {kSet, 1, true, true}, {kDestroy, 0, false, false},
  };
  const HWND hwnd = window.m_hWnd;
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << step.action << " " << step.id);
    if (step.action == kSet) {
      EXPECT_EQ(window.SetTimer(step.id, kPeriodMs, nullptr), step.id);
    }
    if (step.action == kKill) window.KillTimer(step.id);
    if (step.action == kDestroy) {
      ASSERT_TRUE(window.DestroyWindow());
    }
    EXPECT_EQ(IsTimerSet(hwnd, 1), step.set1);
    EXPECT_EQ(IsTimerSet(hwnd, 2), step.set2);
  }
}

TEST_F(WindowTimer, ATimerSetThroughTheObjectTicksToItUntilKilled) {
  window.SetTimer(1, kPeriodMs, nullptr);
  window.SetTimer(2, kPeriodMs, nullptr);
  ASSERT_TRUE(TickMore(1, 2));
  window.KillTimer(1);
  const int ticksWhenKilled = window.ticks[1];
  ASSERT_TRUE(TickMore(2, 3));
  EXPECT_EQ(window.ticks[1], ticksWhenKilled);
}

// The failing timer keeps ticking inside its box's own loop: it is reported
// once, not a box per tick nor boxes nested in the box.
TEST_F(WindowTimer, ATimerFailingAgainAndAgainIsReportedOnceUntilATickRunsThroughOrTheTextChanges) {
  window.SetTimer(2, kPeriodMs, nullptr);
  int until = 0;  // a box stays open until timer 2 has ticked this often
  MessageBoxWatch boxes([&] { return window.ticks[2] >= until; });
  const struct {
    const char* failure;
    std::size_t boxes;  // shown so far, after a few more ticks
  } steps[] = {
      {"Failed to read", 1}, {"Failed to read", 1}, {"Failed to write", 2}, {"", 2}, {"Failed to write", 3},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.failure);
    window.failure[2] = step.failure;
    until = window.ticks[2] + 3;
    ASSERT_TRUE(TickMore(2, 5));
    ASSERT_EQ(boxes.Boxes().size(), step.boxes);
    if (*step.failure != '\0') {
      EXPECT_EQ(boxes.Boxes().back().text, step.failure);
    }
  }
}

// A timer whose handler ends it with its failure, as a failed download does,
// cannot fail every tick: each time it is set again, its failure shows.
TEST_F(WindowTimer, ATimerEndedByItsFailureIsReportedEachTimeItIsSetAgain) {
  window.killOnFailure = true;
  window.failure[3] = "Failed to connect";
  MessageBoxWatch boxes;
  for (std::size_t round = 1; round <= 2; ++round) {
    window.SetTimer(3, kPeriodMs, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes().size() == round && !IsTimerSet(window.m_hWnd, 3); }));
  }
  EXPECT_EQ(window.ticks[3], 2);
}
