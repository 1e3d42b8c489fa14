// The framework's waits on GLib's default main context.
//
// The launcher's 10-ms download timer wakes the thread a hundred times a
// second for its whole life. A full pass of GLib's loop (every source
// prepared and checked: the X connection, WebKit's many timers) costs far
// more than the wake itself, and almost every time it finds nothing to do.
// So a wait runs GLib's sources only when they may have work:
//  - the last pass dispatched something, or this thread asked GTK for
//    something since (NoteChange: a window drawn on, made, shown...);
//  - one of the descriptors GLib polled last time is ready; that includes
//    GLib's wake-up descriptor, which it signals when a source's time or
//    descriptors change and when another thread adds a source (the context
//    stays ours for the wait's whole life, so such additions always signal);
//  - GLib's own next time-out has come, or X events wait in the queue;
//  - kFullPassBoundMs have passed since the last full pass, for sources that
//    this thread's own calls into GLib added without a signal (the display's
//    and the browser's calls are noted; this is for the rest, such as GIO's
//    when a page opens in the desktop's browser).
// Otherwise a wait is one wait on GLib's last descriptors (kept in an epoll
// set) or, when the wait has a descriptor of its own, one poll(2) of them
// together with it; a wait that does not sleep skips even that when
// such a poll found them idle less than kFreshPollUs ago (what arrived since
// is taken by the next wait that sleeps, whose poll returns at once).
#pragma once

#include "platform/gtk/EpollSet.h"
#include "platform/network/FdWatch.h"

#include <glib.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class GlibWait {
 public:
  static constexpr int kFullPassBoundMs = 1000;
  static constexpr std::int64_t kFreshPollUs = 1000;

  // eventsQueued tells whether events already read from the display's
  // connection wait to be handled (they make its descriptor look idle).
  explicit GlibWait(std::function<bool()> eventsQueued);
  ~GlibWait();
  GlibWait(const GlibWait&) = delete;
  GlibWait& operator=(const GlibWait&) = delete;

  // Waits up to timeoutMs (0: not at all; -1: no limit of ours) for GLib's
  // sources or the watched descriptor, and runs what GLib has ready. Sets
  // watch->ready when the descriptor became ready.
  void Wait(int timeoutMs, FdWatch* watch);

  // This thread asked GLib's users for something: the next wait runs a full pass.
  void NoteChange() { changed_ = true; }

  // How many full passes have run: for tests and measurements.
  std::uint64_t FullPasses() const { return fullPasses_; }

 private:
  bool NeedsFullPass(std::int64_t nowUs, bool beforeSleeping) const;
  // One pass of GLib's loop; returns whether it dispatched anything.
  bool FullPass(int timeoutMs, FdWatch* watch);
  // One wait on GLib's last descriptors and the watch's; returns whether GLib's are quiet.
  bool QuietPoll(int timeoutMs, FdWatch* watch);
  int PollEntries(FdWatch* watch);

  std::function<bool()> eventsQueued_;
  bool owned_ = false;
  std::vector<GPollFD> fds_;         // GLib's descriptors, then the watch's
  EpollSet epoll_;                   // GLib's descriptors for waits without a watch
  int glibCount_ = 0;                // how many of fds_ are GLib's
  std::int64_t glibDueUs_ = 0;       // when GLib's own time-out ends (monotonic µs)
  std::int64_t lastFullPassUs_ = 0;  // when the last full pass began
  std::int64_t quietUntilUs_ = 0;    // until when the last quiet poll's answer holds
  bool dispatched_ = true;
  bool changed_ = true;
  std::uint64_t fullPasses_ = 0;
};

}  // namespace platform
