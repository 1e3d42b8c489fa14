// The wait of the framework's modal loops on Windows: it ends when the
// watched event is signalled or a message waits, and otherwise at its timeout.
#include "MessagePump.h"
#include "framework/MessageQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Longer than any wait that should end at once takes.
constexpr DWORD kLongTimeoutMs = 5000;
constexpr DWORD kShortTimeoutMs = 100;
// Windows' timeouts may end up to one tick of its clock early.
constexpr milliseconds kClockTick{16};
constexpr UINT WM_PROBE = WM_APP + 1;
constexpr int kQuietAttempts = 3;

struct EventCloser {
  void operator()(void* event) const { CloseHandle(event); }
};
using Event = std::unique_ptr<void, EventCloser>;

}  // namespace

TEST(MsgWaitForDescriptor, EndsOnTheSignalledEventOrAWaitingMessageElseAtItsTimeout) {
  enum Watch { kNothing, kQuietEvent, kSignalledEvent };
  const struct {
    const char* name;
    Watch watch;
    bool posted;  // a message is posted before the wait
    bool peeked;  // ... and seen, not taken, by PeekMessage
    DWORD timeoutMs;
    bool ready;
    bool endsAtTimeout;  // else it ends at once
  } cases[] = {
      {"signalled event", kSignalledEvent, false, false, kLongTimeoutMs, true, false},
      {"posted message", kNothing, true, false, kLongTimeoutMs, false, false},
      {"posted message beside a quiet event", kQuietEvent, true, false, kLongTimeoutMs, false, false},
      {"message already seen", kQuietEvent, true, true, kLongTimeoutMs, false, false},
      {"quiet event", kQuietEvent, false, false, kShortTimeoutMs, false, true},
      {"nothing at all", kNothing, false, false, kShortTimeoutMs, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(DispatchPending());
    Event event(c.watch != kNothing ? CreateEventA(nullptr, TRUE, c.watch == kSignalledEvent, nullptr) : nullptr);
    platform::FdWatch watch;
    watch.event = event.get();
    watch.ready = !c.ready;
    MSG msg;
    if (c.posted) {
      ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_PROBE, 0, 0));
    }
    if (c.peeked) {
      ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_PROBE, WM_PROBE, PM_NOREMOVE));
    }

    const auto wait = [&watch, &c] {
      const Clock::time_point start = Clock::now();
      MsgWaitForDescriptor(watch, c.timeoutMs);
      return Clock::now() - start;
    };
    if (c.endsAtTimeout) {
      // Wine's own messages to the thread may end a quiet wait early, as any
      // message should: the wait is tried again, after taking them, a few times.
      bool lasted = false;
      for (int attempt = 0; attempt < kQuietAttempts && !lasted; ++attempt) {
        lasted = wait() >= milliseconds(c.timeoutMs) - kClockTick;
        ASSERT_TRUE(DispatchPending());
      }
      EXPECT_TRUE(lasted) << "every quiet wait ended before its timeout";
    } else {
      EXPECT_LT(wait(), milliseconds(c.timeoutMs));
    }
    EXPECT_EQ(watch.ready, c.ready);
    EXPECT_EQ(PeekMessageA(&msg, nullptr, WM_PROBE, WM_PROBE, PM_REMOVE), c.posted) << "the message is left waiting";
  }
}
