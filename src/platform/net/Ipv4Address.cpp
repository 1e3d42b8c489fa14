#include "platform/net/Ipv4Address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace platform {
namespace {

Ipv4Address FromInAddr(in_addr in) {
  Ipv4Address address;
  static_assert(sizeof address == sizeof in.s_addr);
  std::memcpy(address.data(), &in.s_addr, address.size());
  return address;
}

}  // namespace

bool ParseDottedIpv4(const char* host, Ipv4Address* address) {
  in_addr in{};
  if (inet_aton(host, &in) == 0) {
    return false;
  }
  *address = FromInAddr(in);
  return true;
}

bool LookUpIpv4(const char* host, Ipv4Address* address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0) {
    return false;
  }
  *address = FromInAddr(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr);
  freeaddrinfo(found);
  return true;
}

bool ResolveIpv4(const char* host, Ipv4Address* address) {
  return ParseDottedIpv4(host, address) || LookUpIpv4(host, address);
}

}  // namespace platform
