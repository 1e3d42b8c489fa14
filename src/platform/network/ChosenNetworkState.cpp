#include "platform/network/NetworkState.h"
#include "platform/network/SystemNetworkState.h"

namespace platform {
namespace {

NetworkState* chosen = nullptr;

}  // namespace

NetworkState& CurrentNetworkState() { return chosen != nullptr ? *chosen : SystemNetworkState(); }

void UseNetworkState(NetworkState* state) { chosen = state; }

}  // namespace platform
