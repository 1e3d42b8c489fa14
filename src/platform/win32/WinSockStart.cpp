#include "WinSockStart.h"

#include <winsock2.h>

#include <cassert>
#include <mutex>

namespace platform {
namespace {

constexpr WORD kWinSockVersion = MAKEWORD(2, 2);

std::mutex winSockMutex;

}  // namespace

bool StartWinSock() {
  const std::lock_guard lock(winSockMutex);
  WSADATA data;
  return WSAStartup(kWinSockVersion, &data) == 0;
}

void CleanupWinSock() {
  const std::lock_guard lock(winSockMutex);
  const int cleaned = WSACleanup();
  assert(cleaned == 0);
  (void)cleaned;
}

}  // namespace platform
