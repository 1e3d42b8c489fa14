#include "platform/gtk/EpollSet.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
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

bool EpollSet::Use(const GPollFD* fds, int count) {
  const auto same = [](const std::pair<int, gushort>& kept, const GPollFD& fd) {
    return kept.first == fd.fd && kept.second == fd.events;
  };
  if (epollFd_ < 0 || !std::equal(listed_.begin(), listed_.end(), fds, fds + count, same)) {
    listed_.clear();
    for (int i = 0; i < count; ++i) {
      listed_.emplace_back(fds[i].fd, fds[i].events);
    }
    Rebuild();
  }
  return usable_;
}

void EpollSet::Rebuild() {
  // A new set rather than changes to the old one: a descriptor closed and
  // its number taken again since the last pass must not leave the old file
  // in the set.
  Close();
  epollFd_ = epoll_create1(EPOLL_CLOEXEC);
  if (epollFd_ < 0) {
    return;
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
      return;
    }
  }
  usable_ = true;
}

void EpollSet::Close() {
  if (epollFd_ >= 0) {
    close(epollFd_);
  }
  epollFd_ = -1;
  usable_ = false;
}

int EpollSet::Wait(int timeoutMs) const {
  epoll_event ready[4];
  return epoll_wait(epollFd_, ready, static_cast<int>(std::size(ready)), timeoutMs);
}

}  // namespace platform
