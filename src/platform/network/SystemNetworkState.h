// The system's own network monitor, one per system (NetworkState.cpp on
// Linux, win32/NetworkState.cpp on Windows); ChosenNetworkState.cpp puts a
// test's choice in its place.
#pragma once

#include "platform/network/NetworkState.h"

namespace platform {

NetworkState& SystemNetworkState();

}  // namespace platform
