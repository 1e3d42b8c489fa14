// GLib's descriptors, as its last full pass listed them, kept in an epoll
// set: a quiet wait then asks the kernel about one descriptor instead of
// polling each of GLib's, which on every wake-up would touch each of their
// files again.
#pragma once

#include <glib.h>

#include <optional>
#include <utility>
#include <vector>

namespace platform {

class EpollSet {
 public:
  EpollSet() = default;
  ~EpollSet();
  EpollSet(const EpollSet&) = delete;
  EpollSet& operator=(const EpollSet&) = delete;

  // Takes the descriptors of GLib's last pass; the set is made anew at the
  // next wait. Full passes are rare while GLib is idle, and a wait follows
  // a run of them only once.
  void Take(const GPollFD* fds, int count);

  // Waits up to timeoutMs (-1: no limit) for one of the descriptors: > 0
  // when one is ready, 0 when none became ready, < 0 when interrupted.
  // Nothing when the set cannot be used (epoll cannot watch a plain file,
  // for one); the caller then polls the descriptors itself.
  std::optional<int> Wait(int timeoutMs);

 private:
  bool Rebuild();
  void Close();

  int epollFd_ = -1;
  bool stale_ = true;                            // the set must be made anew before the next wait
  bool usable_ = false;                          // the set holds every descriptor listed
  std::vector<std::pair<int, gushort>> listed_;  // (descriptor, GLib's events), as GLib listed them
};

}  // namespace platform
