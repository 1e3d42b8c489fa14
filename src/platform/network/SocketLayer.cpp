#include "platform/network/SocketLayer.h"

#include <atomic>

namespace platform {
namespace {

// Starts not yet balanced by a cleanup.
std::atomic<int> startCount{0};

}  // namespace

void StartSocketLayer() { ++startCount; }

void CleanupSocketLayer() {
  int count = startCount.load();
  while (count > 0 && !startCount.compare_exchange_weak(count, count - 1)) {
  }
}

bool SocketLayerStarted() { return startCount.load() > 0; }

}  // namespace platform
