// GLib's descriptors in an epoll set: what a wait on it sees when the
// descriptors change under the same numbers, and when epoll cannot watch one.
#include "platform/gtk/EpollSet.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

namespace {

using platform::EpollSet;

class Pipe {
 public:
  Pipe() { EXPECT_EQ(pipe(fds_), 0); }
  ~Pipe() { Close(); }
  int ReadEnd() const { return fds_[0]; }
  void Write() const { EXPECT_EQ(write(fds_[1], "x", 1), 1); }
  void Close() {
    for (int& fd : fds_) {
      if (fd >= 0) {
        close(fd);
      }
      fd = -1;
    }
  }

 private:
  int fds_[2] = {-1, -1};
};

TEST(EpollSetTest, ANumberTakenAgainByAnotherFileIsWatchedAfterTheNextPass) {
  EpollSet set;
  auto first = std::make_unique<Pipe>();
  const GPollFD listed{first->ReadEnd(), G_IO_IN, 0};
  set.Take(&listed, 1);
  EXPECT_EQ(set.Wait(0), 0);
  first->Write();
  EXPECT_EQ(set.Wait(0), 1);

  // The pipe closes and a new one gets the same numbers: GLib lists the same.
  first.reset();
  const Pipe second;
  ASSERT_EQ(second.ReadEnd(), listed.fd);
  set.Take(&listed, 1);
  second.Write();
  EXPECT_EQ(set.Wait(0), 1) << "the new file behind the old number was not watched";
}

TEST(EpollSetTest, ASetHoldingAPlainFileIsNotUsedUntilTheDescriptorsChange) {
  EpollSet set;
  const int file = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(file, 0);
  const Pipe pipe;
  const GPollFD withFile[] = {{pipe.ReadEnd(), G_IO_IN, 0}, {file, G_IO_IN, 0}};
  set.Take(withFile, 2);
  EXPECT_FALSE(set.Wait(0).has_value()) << "epoll cannot watch a plain file; the caller must poll";
  set.Take(withFile, 1);
  pipe.Write();
  EXPECT_EQ(set.Wait(0), 1);
  close(file);
}

}  // namespace
