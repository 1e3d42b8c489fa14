#include "platform/registry/FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t kEntryChanges =
    IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF;

}  // namespace

FolderWatch::~FolderWatch() { Stop(); }

void FolderWatch::Watch(const std::string& folder) {
  Stop();
  folder_ = folder;
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ >= 0 && inotify_add_watch(fd_, folder.c_str(), kEntryChanges | kFolderGone | IN_ONLYDIR) < 0) {
    Stop();
  }
}

bool FolderWatch::MayHaveChanged() {
  if (fd_ < 0) {
    return true;
  }
  bool changed = false;
  bool gone = false;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      // Nothing more to take (EAGAIN); any other failure leaves nothing known.
      gone = gone || (n < 0 && errno != EAGAIN);
      break;
    }
    changed = true;
    for (ssize_t at = 0; at < n;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      gone = gone || (event.mask & (kFolderGone | IN_IGNORED | IN_Q_OVERFLOW | IN_UNMOUNT)) != 0;
      at += static_cast<ssize_t>(sizeof event + event.len);
    }
  }
  if (gone) {
    Stop();  // the watch no longer stands for the folder at the path
  }
  return changed || gone;
}

void FolderWatch::Stop() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
}
