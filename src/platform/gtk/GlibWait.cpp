#include "platform/gtk/GlibWait.h"

#include <algorithm>

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
    Pass(timeoutMs, watch);
    return;
  }
  for (int pass = 0; pass < kPassesWithoutWaiting && Pass(0, pass == 0 ? watch : nullptr); ++pass) {
  }
}

bool GlibWait::Pass(int timeoutMs, FdWatch* watch) {
  GMainContext* context = g_main_context_default();
  gint priority = 0;
  g_main_context_prepare(context, &priority);
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
  const bool watching = watch != nullptr && watch->Watches();
  if (watching) {
    const auto events = static_cast<gushort>((watch->forReading ? G_IO_IN : 0) | (watch->forWriting ? G_IO_OUT : 0));
    fds_[static_cast<std::size_t>(glibCount)] = GPollFD{watch->fd, events, 0};
  }
  const auto count = static_cast<guint>(glibCount + (watching ? 1 : 0));
  if (g_poll(fds_.data(), count, Shorter(glibTimeout, timeoutMs)) < 0) {
    // Interrupted by a signal: nothing is known to be ready.
    for (GPollFD& fd : fds_) {
      fd.revents = 0;
    }
  }
  if (watching) {
    watch->ready = fds_[static_cast<std::size_t>(glibCount)].revents != 0;
  }
  const bool ready = g_main_context_check(context, priority, fds_.data(), glibCount) != FALSE;
  if (ready) {
    g_main_context_dispatch(context);
  }
  return ready;
}

}  // namespace platform
