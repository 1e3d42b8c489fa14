#include "platform/process/PendingFiles.h"

#include <atomic>
#include <cstring>

#include "platform/process/PendingRemoval.h"

namespace platform {
namespace {

// The patch download writes one file at a time; a few slots leave room.
constexpr int kSlots = 4;
// The longest path kept, with its terminating zero.
constexpr std::size_t kMaxPathSize = 4096;

// A slot is read from a signal handler, so it holds its path in place and
// says it is in use only once the path is written.
struct Slot {
  std::atomic<bool> used{false};
  char path[kMaxPathSize] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free);

Slot slots[kSlots];

}  // namespace

void RemovePendingFiles() {
  for (Slot& slot : slots) {
    if (slot.used.load()) RemoveFileNow(slot.path);
  }
}

bool MarkFilePending(const std::string& path) {
  static const bool installed = (InstallPendingRemoval(), true);
  (void)installed;
  if (path.size() >= kMaxPathSize) return false;
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
