// bench-timer-gap: how regularly a 100-ms timer ticks while a server query
// waits on a server that accepts the connection and never answers.
//
//   bench-timer-gap [SECONDS]
//
// Serves 127.0.0.1:80 itself (run it in a private network namespace),
// fetches from it with the update queries' engine, and stops the fetch
// after SECONDS (default 10) through its stop flag. Prints the number of
// ticks and the longest and mean gap between two of them, in milliseconds.

#include "framework/MessageQueue.h"
#include "update/HttpFetch.h"
#include "update/StartSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<DWORD> ticks;
DWORD stopAt = 0;
int stopFlag = 0;

void OnTick(HWND, UINT, UINT_PTR, DWORD) {
  ticks.push_back(GetTickCount());
  if (ticks.back() >= stopAt) {
    stopFlag = 1;
  }
}

// Listens on 127.0.0.1:80; the connection is accepted by the kernel and never answered.
int ListenSilently() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(80);
  local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(fd, 1) != 0) {
    std::perror("bench-timer-gap: cannot listen on 127.0.0.1:80");
    std::exit(1);
  }
  return fd;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  const int listener = ListenSilently();
  StartSockets();
  stopAt = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  SetTimer(nullptr, 0, 100, OnTick);
  char* reply = nullptr;
  HttpFetch("http://127.0.0.1/version.php", &reply, 1, 1, &stopFlag, nullptr);
  CleanupSockets();
  close(listener);
  DWORD longest = 0;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    longest = std::max(longest, ticks[i] - ticks[i - 1]);
  }
  const double mean = ticks.size() > 1 ? double(ticks.back() - ticks.front()) / double(ticks.size() - 1) : 0.0;
  std::printf("ticks %zu, longest gap %u ms, mean gap %.1f ms\n", ticks.size(), longest, mean);
  return 0;
}
