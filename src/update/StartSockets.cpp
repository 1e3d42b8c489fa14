#include "update/StartSockets.h"

#include "platform/network/SocketLayer.h"

bool StartSockets() {
  platform::StartSocketLayer();
  return true;
}

void CleanupSockets() { platform::CleanupSocketLayer(); }
