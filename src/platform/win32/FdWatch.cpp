#include "platform/network/FdWatch.h"

#include <windows.h>

namespace platform {

bool WaitForFd(FdWatch& watch, int timeoutMs) {
  watch.ready = false;
  const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  if (!watch.Watches()) {
    if (timeoutMs >= 0) {
      Sleep(limit);  // nothing but the time can end this wait
    }
    return false;
  }
  watch.ready = WaitForSingleObject(watch.event, limit) == WAIT_OBJECT_0;
  return watch.ready;
}

}  // namespace platform
