#include "platform/gtk/EpollSet.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cstdint>
#include <iterator>
#include <map>

namespace platform {

namespace {

std::uint32_t EpollEvents(gushort events) {
  std::uint32_t result = 0;
  if ((events & G_IO_IN) != 0) {
    result |= EPOLLIN;
  }
  if ((events & G_IO_OUT) != 0) {
    result |= EPOLLOUT;
  }
  if ((events & G_IO_PRI) != 0) {
    result |= EPOLLPRI;
  }
  return result;  // errors and hang-ups are always reported
}

}  // namespace

EpollSet::~EpollSet() { Close(); }

void EpollSet::Take(const GPollFD* fds, int count) {
  listed_.clear();
  for (int i = 0; i < count; ++i) {
    listed_.emplace_back(fds[i].fd, fds[i].events);
  }
  stale_ = true;
}

std::optional<int> EpollSet::Wait(int timeoutMs) {
  if (stale_) {
    usable_ = Rebuild();
    stale_ = false;
  }
  if (!usable_) {
    return std::nullopt;
  }
  epoll_event ready[4];
  return epoll_wait(epollFd_, ready, static_cast<int>(std::size(ready)), timeoutMs);
}

bool EpollSet::Rebuild() {
  // A new set rather than changes to the old one, even for the same list: a
  // descriptor closed and its number taken again (by any thread) must not
  // leave the old file in the set, and the new file must come in.
  Close();
  epollFd_ = epoll_create1(EPOLL_CLOEXEC);
  if (epollFd_ < 0) {
    return false;
  }
  // GLib may list one descriptor for several sources; epoll holds it once.
  std::map<int, std::uint32_t> wanted;
  for (const auto& [fd, events] : listed_) {
    wanted[fd] |= EpollEvents(events);
  }
  for (const auto& [fd, events] : wanted) {
    epoll_event entry{};
    entry.events = events;
    entry.data.fd = fd;
    if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &entry) != 0) {
      return false;
    }
  }
  return true;
}

void EpollSet::Close() {
  if (epollFd_ >= 0) {
    close(epollFd_);
  }
  epollFd_ = -1;
}

}  // namespace platform
