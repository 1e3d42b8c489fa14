#include "platform/network/SocketLayer.h"

#include <winsock2.h>

#include <cassert>
#include <mutex>

namespace platform {
namespace {

constexpr WORD kWinSockVersion = MAKEWORD(2, 2);

// Starts not yet balanced by a cleanup; each counted start holds one
// WSAStartup of its own.
std::mutex countMutex;
int startCount = 0;

}  // namespace

void StartSocketLayer() {
  const std::lock_guard lock(countMutex);
  WSADATA data;
  // A start WinSock refuses is not counted: sockets stay unavailable.
  if (WSAStartup(kWinSockVersion, &data) == 0) {
    ++startCount;
  }
}

void CleanupSocketLayer() {
  const std::lock_guard lock(countMutex);
  if (startCount == 0) {
    return;
  }
  --startCount;
  const int cleaned = WSACleanup();
  assert(cleaned == 0);
  (void)cleaned;
}

bool SocketLayerStarted() {
  const std::lock_guard lock(countMutex);
  return startCount > 0;
}

}  // namespace platform
