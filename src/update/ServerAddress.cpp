#include "update/ServerAddress.h"

#include "framework/MessageQueue.h"
#include "platform/network/HostLookup.h"
#include "update/PumpMessages.h"

bool ResolveServer(const char* host, platform::Ipv4Address* address) {
  if (platform::ParseDottedIpv4(host, address)) {
    return true;
  }
  platform::HostLookup lookup(host);
  while (!lookup.Done()) {
    if (!PumpMessages()) {
      return false;
    }
    platform::FdWatch watch = lookup.Watch();
    MsgWaitForDescriptor(watch, INFINITE);
  }
  return lookup.Result(address);
}
