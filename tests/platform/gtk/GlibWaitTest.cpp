// The display's waits on GLib's default context. That a wait ends for GLib's
// descriptors and time-outs and runs their sources is walked through by the
// end-to-end tests (the launcher answers no input, and a page no keys,
// otherwise); here, a wait that must not sleep.
#include "platform/gtk/GlibWait.h"

#include <gtest/gtest.h>

namespace {

gboolean CountAndRemove(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_REMOVE;
}

gboolean CountAndKeep(gpointer count) {
  ++*static_cast<int*>(count);
  return G_SOURCE_CONTINUE;
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

}  // namespace
