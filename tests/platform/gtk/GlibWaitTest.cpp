// The display's waits on GLib's default context. That a wait ends for GLib's
// descriptors and time-outs and runs their sources is walked through by the
// end-to-end tests (the launcher answers no input, and a page no keys,
// otherwise); here, a wait that must not sleep, and the quiet waits: no pass
// of GLib's loop while it has nothing to do, and every way it gets work
// still runs that work at the next wait.
#include "platform/gtk/GlibWait.h"

#include <glib-unix.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <utility>

namespace {

gboolean CountAndRemove(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_REMOVE;
}

gboolean CountAndKeep(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_CONTINUE;
}

// Waits until a pass of GLib's loop finds nothing to run, so that the next waits are quiet ones.
void Settle(platform::GlibWait& wait) {
  std::uint64_t before = 0;
  do {
    before = wait.Passes();
    wait.Wait(1, nullptr);
    wait.Wait(1, nullptr);
  } while (wait.Passes() != before);
}

TEST(GlibWaitTest, AWaitThatDoesNotSleepRunsWhatIsReadyAndEndsThoughASourceIsAlwaysReady) {
  platform::GlibWait wait;
  int once = 0;
  g_idle_add(CountAndRemove, &once);
  wait.Wait(0, nullptr);
  EXPECT_EQ(once, 1) << "this thread's own idle source runs at the next wait";

  int always = 0;
  const guint source = g_idle_add(CountAndKeep, &always);
  wait.Wait(0, nullptr);
  EXPECT_GT(always, 1) << "sources ready again run again in the same wait";
  g_source_remove(source);
}

TEST(GlibWaitTest, WhileGlibHasNothingToDoWaitsRunNoPassOfItsLoop) {
  platform::GlibWait wait;
  Settle(wait);
  const std::uint64_t passes = wait.Passes();
  for (int i = 0; i < 5; ++i) {
    wait.Wait(1, nullptr);
  }
  EXPECT_EQ(wait.Passes(), passes);
}

TEST(GlibWaitTest, EventsTheDisplayHasTakenEndTheQuietWaits) {
  bool eventsTaken = false;
  platform::GlibWait wait([&eventsTaken] { return std::exchange(eventsTaken, false); });
  Settle(wait);
  const std::uint64_t passes = wait.Passes();
  eventsTaken = true;
  wait.Wait(1000, nullptr);
  EXPECT_EQ(wait.Passes(), passes + 1);
}

TEST(GlibWaitTest, EveryWayGlibGetsWorkEndsTheQuietWaitsAndTheWorkRuns) {
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  int count = 0;
  // Sources made before the waits settle, which the cases wake.
  GSource* timed = g_timeout_source_new(G_MAXINT);
  g_source_set_callback(timed, CountAndKeep, &count, nullptr);
  g_source_attach(timed, nullptr);
  const guint readable = g_unix_fd_add(
      pipeFds[0], G_IO_IN,
      [](gint fd, GIOCondition, gpointer counted) {
        char byte;
        ++*static_cast<int*>(counted);
        return read(fd, &byte, 1) == 1 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
      },
      &count);
  const struct {
    const char* what;
    std::function<void()> give;
  } cases[] = {
      {"an idle source this thread adds", [&] { g_idle_add(CountAndRemove, &count); }},
      {"a time-out this thread adds", [&] { g_timeout_add(5, CountAndRemove, &count); }},
      {"a source's ready time this thread sets", [&] { g_source_set_ready_time(timed, 0); }},
      {"a descriptor that becomes ready", [&] { ASSERT_EQ(write(pipeFds[1], "x", 1), 1); }},
      {"a source another thread adds", [&] { std::thread([&] { g_idle_add(CountAndRemove, &count); }).join(); }},
  };
  platform::GlibWait wait;
  for (const auto& c : cases) {
    Settle(wait);
    g_source_set_ready_time(timed, -1);
    count = 0;
    c.give();
    for (int i = 0; i < 3 && count == 0; ++i) {
      wait.Wait(1000, nullptr);
    }
    EXPECT_EQ(count, 1) << c.what;
  }
  g_source_destroy(timed);
  g_source_unref(timed);
  g_source_remove(readable);
  close(pipeFds[0]);
  close(pipeFds[1]);
}

}  // namespace
