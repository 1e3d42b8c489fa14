#include "platform/network/SystemNetworkState.h"

#include <windows.h>
#include <wininet.h>

namespace platform {
namespace {

// WinINet's view: connected through a network card, a modem or a proxy.
class WinInetNetworkState final : public NetworkState {
 public:
  bool IsNetworkAvailable() override {
    DWORD how = 0;
    return InternetGetConnectedState(&how, 0) != FALSE;
  }
};

}  // namespace

NetworkState& SystemNetworkState() {
  static WinInetNetworkState system;
  return system;
}

}  // namespace platform
