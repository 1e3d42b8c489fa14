#include "platform/gtk/GlibWait.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Passes in a row that a wait that does not sleep may run while sources keep
// being ready, so that a source that is always ready cannot hold the queue.
constexpr int kPassesWithoutWaiting = 64;

// The shorter of two poll(2) time-outs, where -1 means none.
int Shorter(int a, int b) {
  if (a < 0) {
    return b;
  }
  return b < 0 ? a : std::min(a, b);
}

}  // namespace

GlibWait::GlibWait(std::function<bool()> eventsWaiting) : eventsWaiting_(std::move(eventsWaiting)) {}

GlibWait::~GlibWait() {
  if (owned_) {
    g_main_context_release(g_main_context_default());
  }
}

void GlibWait::Wait(int timeoutMs, FdWatch* watch) {
  if (watch != nullptr) {
    watch->ready = false;
  }
  if (!owned_) {
    owned_ = g_main_context_acquire(g_main_context_default()) != FALSE;
  }
  if (!owned_) {
    // Another thread runs our context; only the descriptor can be waited on.
    FdWatch nothing;
    WaitForFd(watch != nullptr ? *watch : nothing, timeoutMs);
    return;
  }
  if (timeoutMs != 0) {
    if (quiet_ && QuietWait(timeoutMs, watch)) {
      return;
    }
    // GLib may have work: at once when the quiet wait found it.
    Pass(quiet_ ? 0 : timeoutMs, watch);
    return;
  }
  for (int pass = 0; pass < kPassesWithoutWaiting && Pass(0, pass == 0 ? watch : nullptr); ++pass) {
  }
}

bool GlibWait::Pass(int timeoutMs, FdWatch* watch) {
  GMainContext* context = g_main_context_default();
  ++passes_;
  quiet_ = false;
  gint priority = 0;
  g_main_context_prepare(context, &priority);
  const std::int64_t preparedUs = g_get_monotonic_time();
  gint glibTimeout = -1;
  int glibCount = 0;
  for (;;) {
    const int room = static_cast<int>(fds_.size());
    glibCount = g_main_context_query(context, priority, &glibTimeout, fds_.data(), room);
    if (glibCount < room) {
      break;  // room is left for the watch's entry
    }
    fds_.resize(static_cast<std::size_t>(glibCount) + 1);
  }
  const guint count = PlaceWatch(glibCount, watch);
  if (g_poll(fds_.data(), count, Shorter(glibTimeout, timeoutMs)) < 0) {
    // Interrupted by a signal: nothing is known to be ready.
    for (GPollFD& fd : fds_) {
      fd.revents = 0;
    }
  }
  if (count > static_cast<guint>(glibCount)) {
    watch->ready = fds_[static_cast<std::size_t>(glibCount)].revents != 0;
  }
  const bool ready = g_main_context_check(context, priority, fds_.data(), glibCount) != FALSE;
  if (ready) {
    g_main_context_dispatch(context);
  } else {
    NoteQuiet(preparedUs, glibTimeout, glibCount);
  }
  return ready;
}

void GlibWait::NoteQuiet(std::int64_t preparedUs, int glibTimeoutMs, int glibCount) {
  GMainContext* context = g_main_context_default();
  // Numbers are given in turn, so the next source added gets the one after
  // this probe's (or a later one, when that one is taken, which only costs
  // a pass).
  GSource* probe = g_idle_source_new();
  nextSourceId_ = g_source_attach(probe, context) + 1;
  g_source_destroy(probe);
  g_source_unref(probe);
  glibCount_ = glibCount;
  glibDueUs_ = glibTimeoutMs < 0 ? -1 : preparedUs + std::int64_t{glibTimeoutMs} * 1000;
  quiet_ = true;
}

bool GlibWait::QuietWait(int timeoutMs, FdWatch* watch) {
  const auto due = [this] { return glibDueUs_ >= 0 && g_get_monotonic_time() >= glibDueUs_; };
  if (due() || g_main_context_find_source_by_id(g_main_context_default(), nextSourceId_) != nullptr ||
      eventsWaiting_()) {
    return false;
  }
  int waitMs = timeoutMs;
  if (glibDueUs_ >= 0) {
    const std::int64_t leftUs = glibDueUs_ - g_get_monotonic_time();
    waitMs = Shorter(waitMs, static_cast<int>((leftUs + 999) / 1000));
  }
  for (int i = 0; i < glibCount_; ++i) {
    fds_[static_cast<std::size_t>(i)].revents = 0;
  }
  const guint count = PlaceWatch(glibCount_, watch);
  if (g_poll(fds_.data(), count, waitMs) < 0) {
    return false;  // interrupted by a signal: a pass sorts it out
  }
  if (count > static_cast<guint>(glibCount_)) {
    watch->ready = fds_[static_cast<std::size_t>(glibCount_)].revents != 0;
  }
  for (int i = 0; i < glibCount_; ++i) {
    if (fds_[static_cast<std::size_t>(i)].revents != 0) {
      return false;
    }
  }
  return !due();
}

guint GlibWait::PlaceWatch(int glibCount, FdWatch* watch) {
  if (watch == nullptr || !watch->Watches()) {
    return static_cast<guint>(glibCount);
  }
  const auto events = static_cast<gushort>((watch->forReading ? G_IO_IN : 0) | (watch->forWriting ? G_IO_OUT : 0));
  fds_[static_cast<std::size_t>(glibCount)] = GPollFD{watch->fd, events, 0};
  return static_cast<guint>(glibCount + 1);
}

}  // namespace platform
