#include "platform/network/SocketLayer.h"

#include "WinSockStart.h"

#include <mutex>

namespace platform {
namespace {

// Starts not yet balanced by a cleanup; each counted start holds one
// WinSock start of its own.
std::mutex countMutex;
int startCount = 0;

}  // namespace

void StartSocketLayer() {
  const std::lock_guard lock(countMutex);
  // A start WinSock refuses is not counted: sockets stay unavailable.
  if (StartWinSock()) {
    ++startCount;
  }
}

void CleanupSocketLayer() {
  const std::lock_guard lock(countMutex);
  if (startCount > 0) {
    --startCount;
    CleanupWinSock();
  }
}

bool SocketLayerStarted() {
  const std::lock_guard lock(countMutex);
  return startCount > 0;
}

}  // namespace platform
