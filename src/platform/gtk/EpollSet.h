// GLib's descriptors, as its last full pass listed them, kept in an epoll
// set: a quiet wait then asks the kernel about one descriptor instead of
// polling each of GLib's, which on every wake-up would touch each of their
// files again.
#pragma once

#include <glib.h>

#include <utility>
#include <vector>

namespace platform {

class EpollSet {
 public:
  EpollSet() = default;
  ~EpollSet();
  EpollSet(const EpollSet&) = delete;
  EpollSet& operator=(const EpollSet&) = delete;

  // Takes the descriptors of GLib's last pass; the set is made anew when
  // they differ from the last ones. Returns whether the set can be waited on
  // (a descriptor that epoll cannot watch, such as a plain file, makes it
  // unusable until the descriptors change).
  bool Use(const GPollFD* fds, int count);

  // Waits up to timeoutMs (-1: no limit) for one of the descriptors: > 0
  // when one is ready, 0 when none became ready, < 0 when interrupted.
  int Wait(int timeoutMs) const;

 private:
  void Rebuild();
  void Close();

  int epollFd_ = -1;
  bool usable_ = false;
  std::vector<std::pair<int, gushort>> listed_;  // (descriptor, GLib's events), as GLib listed them
};

}  // namespace platform
