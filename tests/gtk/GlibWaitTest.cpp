// The display's waits on GLib's default context: quiet waits that run no
// sources, and every way GLib's work still gets run.
#include "TestPipe.h"
#include "platform/gtk/GlibWait.h"

#include <glib-unix.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

namespace {

using platform::FdWatch;
using platform::GlibWait;

gboolean CountAndRemove(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_REMOVE;
}

gboolean CountReadable(gint fd, GIOCondition, gpointer count) {
  char byte;
  EXPECT_EQ(read(fd, &byte, 1), 1);
  ++*static_cast<int*>(count);
  return G_SOURCE_CONTINUE;
}

class GlibWaitTest : public ::testing::Test {
 protected:
  GlibWaitTest() : wait(nullptr) {}

  // Runs a first pass, so that the waits after it may be quiet ones.
  void Settle() {
    for (int i = 0; i < 10 && passesAtStart != wait.FullPasses(); ++i) {
      passesAtStart = wait.FullPasses();
      wait.Wait(0, nullptr);
    }
    passesAtStart = wait.FullPasses();
  }

  GlibWait wait;
  std::uint64_t passesAtStart = ~0ull;
};

TEST_F(GlibWaitTest, ShortWaitsWithNothingForGlibRunNoSourcesAndDescriptorsStillEndThem) {
  Settle();
  const gint64 start = g_get_monotonic_time();
  for (int i = 0; i < 3; ++i) {
    wait.Wait(10, nullptr);
  }
  // Only the bound may bring a full pass (on a slow machine the waits can outlast it).
  const auto bounds = static_cast<std::uint64_t>((g_get_monotonic_time() - start) / 1000 / GlibWait::kFullPassBoundMs);
  EXPECT_LE(wait.FullPasses() - passesAtStart, bounds) << "waits that found GLib quiet ran its sources";

  // A descriptor of GLib's ends a quiet wait at once and its source runs.
  const TestPipe pipe;
  int reads = 0;
  const guint source = g_unix_fd_add(pipe.ReadEnd(), G_IO_IN, CountReadable, &reads);
  wait.Wait(0, nullptr);  // GLib takes the new descriptor in
  pipe.Write();
  wait.Wait(10, nullptr);
  EXPECT_EQ(reads, 1);
  // A wait that does not sleep, right after a quiet one, may leave the
  // descriptor for later; the next wait that sleeps takes it at once.
  wait.Wait(10, nullptr);
  pipe.Write();
  wait.Wait(0, nullptr);
  wait.Wait(50, nullptr);
  EXPECT_EQ(reads, 2);
  g_source_remove(source);

  // So does the wait's own descriptor, which GLib does not know.
  const TestPipe own;
  own.Write();
  FdWatch watch{own.ReadEnd(), true, false};
  Settle();
  wait.Wait(10, &watch);
  EXPECT_TRUE(watch.ready);
}

TEST_F(GlibWaitTest, WorkThisThreadGaveGlibRunsAtOnceWhenNotedAndWithinTheBoundOtherwise) {
  Settle();
  int runs = 0;
  g_idle_add(CountAndRemove, &runs);  // no wake-up: this thread owns the context
  wait.NoteChange();
  wait.Wait(10, nullptr);
  EXPECT_EQ(runs, 1) << "a noted change runs GLib's sources at the next wait";

  Settle();
  g_idle_add(CountAndRemove, &runs);
  // Each wait lasts at least its 10 ms, so this many pass the bound.
  const int waits = GlibWait::kFullPassBoundMs / 10 + 2;
  for (int i = 0; i < waits && runs == 1; ++i) {
    wait.Wait(10, nullptr);
  }
  EXPECT_EQ(runs, 2) << "an unnoted source waited past the bound";
}

TEST_F(GlibWaitTest, ASourceAnotherThreadAddsWakesAQuietWait) {
  Settle();
  int runs = 0;
  std::thread other([&runs] { g_idle_add(CountAndRemove, &runs); });
  other.join();
  wait.Wait(10, nullptr);
  EXPECT_EQ(runs, 1) << "the context is not held between waits, so the addition did not signal";
}

TEST_F(GlibWaitTest, GlibsOwnTimeoutsRunWhenDueThoughTheWaitsAreQuiet) {
  Settle();
  int runs = 0;
  g_timeout_add(20, CountAndRemove, &runs);
  wait.NoteChange();
  wait.Wait(0, nullptr);  // GLib learns when its time-out is due
  // Five waits of at least 10 ms pass its 20 ms, but not the bound.
  for (int i = 0; i < 5 && runs == 0; ++i) {
    wait.Wait(10, nullptr);
  }
  EXPECT_EQ(runs, 1);
}

}  // namespace
