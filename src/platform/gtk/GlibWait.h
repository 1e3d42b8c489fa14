// The framework's waits on GLib's default main context. A wait is one pass
// of GLib's loop (its sources prepared, their descriptors polled together
// with the wait's own one up to GLib's and the caller's time-out, then
// checked and dispatched), except while GLib is quiet: when the last pass
// ran nothing, GLib's sources are as that pass left them until
//  - one of the descriptors it polled becomes ready; among them is GLib's
//    wake-up descriptor, which GLib signals when a source's time or
//    descriptors change and when another thread adds a source;
//  - GLib's own time-out comes;
//  - this thread adds a source (a call into GTK, WebKit or GIO may), seen by
//    the number the next source would get;
//  - the display has taken events in that wait to be handled.
// Until then a wait is a poll(2) of those descriptors and the wait's own:
// the launcher's status timer wakes the thread ten times a second, and a
// pass over WebKit's forty sources then costs as much as the tick's work.
#pragma once

#include "platform/network/FdWatch.h"

#include <glib.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class GlibWait {
 public:
  // eventsWaiting tells whether the display holds events taken from its
  // connection but not yet handled (they leave its descriptor idle).
  explicit GlibWait(std::function<bool()> eventsWaiting = [] { return false; });
  ~GlibWait();
  GlibWait(const GlibWait&) = delete;
  GlibWait& operator=(const GlibWait&) = delete;

  // Waits up to timeoutMs (0: not at all; -1: no limit of ours) for GLib's
  // sources or the watched descriptor, and runs what GLib has ready. Sets
  // watch->ready when the descriptor became ready.
  void Wait(int timeoutMs, FdWatch* watch);

  // How many passes of GLib's loop have run.
  std::uint64_t Passes() const { return passes_; }

 private:
  // One pass of GLib's loop; returns whether it dispatched anything.
  bool Pass(int timeoutMs, FdWatch* watch);
  // Notes what the quiet waits after a pass that ran nothing rely on.
  void NoteQuiet(std::int64_t preparedUs, int glibTimeoutMs, int glibCount);
  // A wait while GLib is quiet; false as soon as GLib may have work.
  bool QuietWait(int timeoutMs, FdWatch* watch);
  // Puts the watch's entry after GLib's descriptors; returns how many to poll.
  guint PlaceWatch(int glibCount, FdWatch* watch);

  std::function<bool()> eventsWaiting_;
  bool owned_ = false;
  std::vector<GPollFD> fds_;     // GLib's descriptors, then the watch's
  bool quiet_ = false;           // the last pass ran nothing
  int glibCount_ = 0;            // how many of fds_ are GLib's, as of the last pass
  std::int64_t glibDueUs_ = -1;  // when GLib's own time-out ends (monotonic µs); -1: none
  guint nextSourceId_ = 0;       // the number the next source added would get, as of the last pass
  std::uint64_t passes_ = 0;
};

}  // namespace platform
