#include "platform/network/Ipv4Address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

namespace platform {

bool ParseDottedIpv4(const char* host, Ipv4Address* address) {
  // inet_aton stops at the first blank and ignores the rest.
  if (std::strpbrk(host, " \t\n\v\f\r") != nullptr) {
    return false;
  }
  in_addr in{};
  if (inet_aton(host, &in) == 0) {
    return false;
  }
  static_assert(sizeof *address == sizeof in.s_addr);
  std::memcpy(address->data(), &in.s_addr, address->size());
  return true;
}

}  // namespace platform
