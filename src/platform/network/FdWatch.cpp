#include "platform/network/FdWatch.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

namespace platform {

short FdWatch::PollEvents() const { return static_cast<short>((forReading ? POLLIN : 0) | (forWriting ? POLLOUT : 0)); }

bool WaitForFd(FdWatch& watch, int timeoutMs) {
  watch.ready = false;
  if (!watch.Watches() && timeoutMs < 0) {
    return false;  // nothing could ever end the wait
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  pollfd entry{watch.Watches() ? watch.fd : -1, watch.PollEvents(), 0};
  for (;;) {
    int left = -1;
    if (timeoutMs >= 0) {
      left = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count());
      left = left < 0 ? 0 : left;
    }
    const int n = poll(&entry, 1, left);
    if (n >= 0 || errno != EINTR) {
      watch.ready = n > 0;
      return watch.ready;
    }
  }
}

}  // namespace platform
