// GLib's descriptors in an epoll set: what a wait on it sees when the
// descriptors change under the same numbers, and when epoll cannot watch one.
#include "TestPipe.h"
#include "platform/gtk/EpollSet.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

namespace {

using platform::EpollSet;

TEST(EpollSetTest, ANumberTakenAgainByAnotherFileIsWatchedAfterTheNextPass) {
  EpollSet set;
  auto first = std::make_unique<TestPipe>();
  const GPollFD listed{first->ReadEnd(), G_IO_IN, 0};
  set.Take(&listed, 1);
  EXPECT_EQ(set.Wait(0), 0);
  first->Write();
  EXPECT_EQ(set.Wait(0), 1);

  // The pipe closes and a new one gets the same numbers: GLib lists the same.
  first.reset();
  const TestPipe second;
  ASSERT_EQ(second.ReadEnd(), listed.fd);
  set.Take(&listed, 1);
  second.Write();
  EXPECT_EQ(set.Wait(0), 1) << "the new file behind the old number was not watched";
}

TEST(EpollSetTest, ASetHoldingAPlainFileIsNotUsedUntilTheDescriptorsChange) {
  EpollSet set;
  const int file = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(file, 0);
  const TestPipe pipe;
  const GPollFD withFile[] = {{pipe.ReadEnd(), G_IO_IN, 0}, {file, G_IO_IN, 0}};
  set.Take(withFile, 2);
  EXPECT_FALSE(set.Wait(0).has_value()) << "epoll cannot watch a plain file; the caller must poll";
  set.Take(withFile, 1);
  pipe.Write();
  EXPECT_EQ(set.Wait(0), 1);
  close(file);
}

}  // namespace
