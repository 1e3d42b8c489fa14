// Whether the computer is connected to a network, as the desktop's network
// monitor sees it (a route to somewhere other than loopback).
#pragma once

namespace platform {

class NetworkState {
 public:
  virtual ~NetworkState() = default;
  virtual bool IsNetworkAvailable() = 0;
};

// The state in use: the system's network monitor unless one was put in place.
NetworkState& CurrentNetworkState();

// Puts `state` in place of the system's monitor (tests choose the answer);
// null restores the system's.
void UseNetworkState(NetworkState* state);

}  // namespace platform
