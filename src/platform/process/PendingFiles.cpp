#include "platform/process/PendingFiles.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// The patch download writes one file at a time; a few slots leave room.
constexpr int kSlots = 4;
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A slot is read from a signal handler, so it holds its path in place and
// says it is in use only once the path is written.
struct Slot {
  std::atomic<bool> used{false};
  char path[PATH_MAX] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free);

Slot slots[kSlots];

// Async-signal-safe: unlink only.
void RemovePending() {
  for (Slot& slot : slots) {
    if (slot.used.load()) unlink(slot.path);
  }
}

// SA_RESETHAND has given the signal its default action back; it is blocked
// while this runs, so raising it again ends the program once this returns.
void OnEndingSignal(int signal) {
  RemovePending();
  raise(signal);
}

void InstallRemoval() {
  std::atexit(RemovePending);
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

}  // namespace

bool MarkFilePending(const std::string& path) {
  static const bool installed = (InstallRemoval(), true);
  (void)installed;
  if (path.size() >= PATH_MAX) return false;
  for (Slot& slot : slots) {
    if (slot.used.load()) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used.store(true);
    return true;
  }
  return false;
}

void UnmarkFilePending(const std::string& path) {
  for (Slot& slot : slots) {
    if (slot.used.load() && path == slot.path) slot.used.store(false);
  }
}

}  // namespace platform
