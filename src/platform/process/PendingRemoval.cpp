// Linux: pending files go at a normal exit and when SIGTERM, SIGINT or SIGHUP
// ends the program.
#include "platform/process/PendingRemoval.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace platform {
namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// SA_RESETHAND has given the signal its default action back; it is blocked
// while this runs, so raising it again ends the program once this returns.
void OnEndingSignal(int signal) {
  RemovePendingFiles();
  raise(signal);
}

}  // namespace

void InstallPendingRemoval() {
  std::atexit(RemovePendingFiles);
  for (const int signal : kEndingSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction removal {};
    removal.sa_handler = OnEndingSignal;
    sigemptyset(&removal.sa_mask);
    removal.sa_flags = SA_RESETHAND;
    sigaction(signal, &removal, nullptr);
  }
}

void RemoveFileNow(const char* path) { unlink(path); }

}  // namespace platform
