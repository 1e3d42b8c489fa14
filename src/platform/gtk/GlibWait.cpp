#include "platform/gtk/GlibWait.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace platform {

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
// Passes in a row that may run while sources keep being ready, so that a
// source that is always ready cannot hold the queue.
constexpr int kPassesWithoutWaiting = 64;

// The shorter of two poll(2) time-outs, where -1 means none.
int Shorter(int a, int b) {
  if (a < 0) {
    return b;
  }
  return b < 0 ? a : std::min(a, b);
}

// Whole milliseconds from nowUs until dueUs, rounded up; -1 for never.
int MsUntil(std::int64_t dueUs, std::int64_t nowUs) {
  if (dueUs == kNever) {
    return -1;
  }
  const std::int64_t ms = (std::max<std::int64_t>(dueUs - nowUs, 0) + 999) / 1000;
  return static_cast<int>(std::min<std::int64_t>(ms, std::numeric_limits<int>::max()));
}

}  // namespace

GlibWait::GlibWait(std::function<bool()> eventsQueued) : eventsQueued_(std::move(eventsQueued)) {}

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
  const std::int64_t now = g_get_monotonic_time();
  const bool shortWait = timeoutMs >= 0 && timeoutMs <= kFullPassBoundMs;
  if (shortWait && !NeedsFullPass(now, timeoutMs > 0)) {
    if (timeoutMs == 0 && watch == nullptr && now < quietUntilUs_) {
      return;  // GLib's descriptors were idle a moment ago; the next sleeping wait polls them
    }
    const bool quiet = QuietPoll(Shorter(timeoutMs, MsUntil(glibDueUs_, now)), watch);
    const std::int64_t after = timeoutMs > 0 ? g_get_monotonic_time() : now;
    if (quiet && after < glibDueUs_ && after < lastFullPassUs_ + std::int64_t{kFullPassBoundMs} * 1000) {
      quietUntilUs_ = after + kFreshPollUs;
      return;
    }
    timeoutMs = 0;  // GLib has work: run it now, the wait is over
  }
  if (timeoutMs != 0) {
    FullPass(timeoutMs, watch);
    return;
  }
  FdWatch* polled = watch != nullptr && !watch->ready ? watch : nullptr;
  for (int pass = 0; pass < kPassesWithoutWaiting; ++pass) {
    if (!FullPass(0, polled)) {
      break;
    }
    polled = nullptr;
  }
}

bool GlibWait::NeedsFullPass(std::int64_t nowUs, bool beforeSleeping) const {
  // Queued events are looked for only before sleeping: a wait that does not
  // sleep leaves them for the next one, which comes as soon as the queue is empty.
  return dispatched_ || changed_ || nowUs >= glibDueUs_ ||
         nowUs >= lastFullPassUs_ + std::int64_t{kFullPassBoundMs} * 1000 ||
         (beforeSleeping && eventsQueued_ && eventsQueued_());
}

int GlibWait::PollEntries(FdWatch* watch) {
  if (watch == nullptr || !watch->Watches()) {
    return glibCount_;
  }
  const auto events = static_cast<gushort>((watch->forReading ? G_IO_IN : 0) | (watch->forWriting ? G_IO_OUT : 0));
  fds_[static_cast<std::size_t>(glibCount_)] = GPollFD{watch->fd, events, 0};
  return glibCount_ + 1;
}

bool GlibWait::FullPass(int timeoutMs, FdWatch* watch) {
  GMainContext* context = g_main_context_default();
  lastFullPassUs_ = g_get_monotonic_time();
  changed_ = false;
  ++fullPasses_;
  gint priority = 0;
  g_main_context_prepare(context, &priority);
  gint glibTimeout = -1;
  for (;;) {
    const int room = static_cast<int>(fds_.size());
    glibCount_ = g_main_context_query(context, priority, &glibTimeout, fds_.data(), room);
    if (glibCount_ < room) {
      break;  // room is left for the watch's entry
    }
    fds_.resize(static_cast<std::size_t>(glibCount_) + 1);
  }
  glibDueUs_ = glibTimeout < 0 ? kNever : g_get_monotonic_time() + std::int64_t{glibTimeout} * 1000;
  epoll_.Take(fds_.data(), glibCount_);
  const int count = PollEntries(watch);
  if (g_poll(fds_.data(), static_cast<guint>(count), Shorter(glibTimeout, timeoutMs)) < 0) {
    // Interrupted by a signal: nothing is known to be ready.
    for (GPollFD& fd : fds_) {
      fd.revents = 0;
    }
  }
  if (count > glibCount_) {
    watch->ready = fds_[static_cast<std::size_t>(glibCount_)].revents != 0;
  }
  dispatched_ = g_main_context_check(context, priority, fds_.data(), glibCount_) != FALSE;
  if (dispatched_) {
    g_main_context_dispatch(context);
  }
  return dispatched_;
}

bool GlibWait::QuietPoll(int timeoutMs, FdWatch* watch) {
  if (watch == nullptr || !watch->Watches()) {
    if (const std::optional<int> ready = epoll_.Wait(timeoutMs)) {
      return *ready == 0;  // interrupted: a full pass sorts out what is ready
    }
  }
  const int count = PollEntries(watch);
  if (g_poll(fds_.data(), static_cast<guint>(count), timeoutMs) < 0) {
    return false;  // interrupted: a full pass sorts out what is ready
  }
  if (count > glibCount_) {
    watch->ready = fds_[static_cast<std::size_t>(glibCount_)].revents != 0;
  }
  return std::none_of(fds_.begin(), fds_.begin() + glibCount_, [](const GPollFD& fd) { return fd.revents != 0; });
}

}  // namespace platform
