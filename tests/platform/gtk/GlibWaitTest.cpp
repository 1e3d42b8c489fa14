// The display's waits on GLib's default context: each runs GLib's ready
// sources and ends for GLib's descriptors, GLib's own time-outs, sources
// added by any thread and the wait's own descriptor.
#include "TestPipe.h"
#include "platform/gtk/GlibWait.h"

#include <glib-unix.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

namespace {

using platform::FdWatch;
using platform::GlibWait;

// Far longer than any test waits: a wait that lasts this long missed its end.
constexpr int kForeverMs = 30000;

gboolean CountAndRemove(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_REMOVE;
}

gboolean CountAndKeep(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_CONTINUE;
}

gboolean CountReadable(gint fd, GIOCondition, gpointer count) {
  char byte;
  EXPECT_EQ(read(fd, &byte, 1), 1);
  ++*static_cast<int*>(count);
  return G_SOURCE_CONTINUE;
}

// Milliseconds a call takes.
template <typename Call>
gint64 MsOf(Call call) {
  const gint64 start = g_get_monotonic_time();
  call();
  return (g_get_monotonic_time() - start) / 1000;
}

TEST(GlibWaitTest, AWaitEndsForGlibsDescriptorsTimeOutsAndOtherThreadsSourcesAndRunsThem) {
  GlibWait wait;
  const TestPipe pipe;
  int reads = 0;
  const guint reader = g_unix_fd_add(pipe.ReadEnd(), G_IO_IN, CountReadable, &reads);
  pipe.Write();
  EXPECT_LT(MsOf([&] { wait.Wait(kForeverMs, nullptr); }), kForeverMs);
  EXPECT_EQ(reads, 1) << "a descriptor of GLib's ends the wait and its source runs";
  g_source_remove(reader);

  int runs = 0;
  g_timeout_add(20, CountAndRemove, &runs);
  const gint64 took = MsOf([&] {
    while (runs == 0) {
      wait.Wait(kForeverMs, nullptr);
    }
  });
  EXPECT_GE(took, 19) << "GLib's time-out ran early";
  EXPECT_LT(took, kForeverMs);

  std::thread other([&runs] { g_idle_add(CountAndRemove, &runs); });
  other.join();
  EXPECT_LT(MsOf([&] { wait.Wait(kForeverMs, nullptr); }), kForeverMs);
  EXPECT_EQ(runs, 2) << "another thread's source woke the wait";
}

TEST(GlibWaitTest, TheWaitsOwnDescriptorEndsItAndIsReportedApartFromGlibs) {
  GlibWait wait;
  const TestPipe own;
  FdWatch watch{own.ReadEnd(), true, false};
  wait.Wait(10, &watch);
  EXPECT_FALSE(watch.ready) << "nothing was written";

  own.Write();
  EXPECT_LT(MsOf([&] { wait.Wait(kForeverMs, &watch); }), kForeverMs);
  EXPECT_TRUE(watch.ready);

  // A source of GLib's ending the wait leaves the watch not ready.
  const TestPipe glibs;
  int reads = 0;
  const guint reader = g_unix_fd_add(glibs.ReadEnd(), G_IO_IN, CountReadable, &reads);
  const TestPipe idle;
  FdWatch quiet{idle.ReadEnd(), true, false};
  glibs.Write();
  wait.Wait(kForeverMs, &quiet);
  EXPECT_EQ(reads, 1);
  EXPECT_FALSE(quiet.ready);
  g_source_remove(reader);
}

TEST(GlibWaitTest, AWaitThatDoesNotSleepRunsWhatIsReadyAndEndsThoughASourceIsAlwaysReady) {
  GlibWait wait;
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

}  // namespace
