#include "platform/network/SystemNetworkState.h"

#include <gio/gio.h>

namespace platform {
namespace {

// GIO's default monitor follows the kernel's routing table; it is a
// process-wide singleton owned by GIO.
class GioNetworkState final : public NetworkState {
 public:
  bool IsNetworkAvailable() override {
    GNetworkMonitor* monitor = g_network_monitor_get_default();
    return monitor != nullptr && g_network_monitor_get_network_available(monitor);
  }
};

}  // namespace

NetworkState& SystemNetworkState() {
  static GioNetworkState system;
  return system;
}

}  // namespace platform
