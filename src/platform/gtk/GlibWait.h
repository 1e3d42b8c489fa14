// The framework's waits on GLib's default main context: each wait is one
// pass of GLib's loop, its sources prepared, their descriptors polled
// together with the wait's own one up to GLib's and the caller's time-out,
// then checked and dispatched. The launcher wakes only for its status timer
// (ten times a second) while idle, so a pass per wake costs little.
#pragma once

#include "platform/network/FdWatch.h"

#include <glib.h>

#include <vector>

namespace platform {

class GlibWait {
 public:
  GlibWait() = default;
  ~GlibWait();
  GlibWait(const GlibWait&) = delete;
  GlibWait& operator=(const GlibWait&) = delete;

  // Waits up to timeoutMs (0: not at all; -1: no limit of ours) for GLib's
  // sources or the watched descriptor, and runs what GLib has ready. Sets
  // watch->ready when the descriptor became ready.
  void Wait(int timeoutMs, FdWatch* watch);

 private:
  // One pass of GLib's loop; returns whether it dispatched anything.
  bool Pass(int timeoutMs, FdWatch* watch);

  bool owned_ = false;
  std::vector<GPollFD> fds_;  // GLib's descriptors, then the watch's
};

}  // namespace platform
