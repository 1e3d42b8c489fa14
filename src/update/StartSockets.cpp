#include "update/StartSockets.h"

#include "platform/net/SocketLayer.h"

bool StartSockets() {
  platform::StartSocketLayer();
  return true;
}

void CleanupSockets() { platform::CleanupSocketLayer(); }
