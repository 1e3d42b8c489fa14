// IPv4 addresses of servers named in URLs.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// The four bytes of an IPv4 address, most significant first.
using Ipv4Address = std::array<std::uint8_t, 4>;

// Reads host as a dotted IPv4 address (the forms inet_aton accepts, such as
// "127.0.0.1"); no name lookup is made.
bool ParseDottedIpv4(const char* host, Ipv4Address* address);

// Looks host up as a name, blocking until the resolver answers; the first
// IPv4 address of the answer.
bool LookUpIpv4(const char* host, Ipv4Address* address);

// A dotted address as it is, any other host by a name lookup.
bool ResolveIpv4(const char* host, Ipv4Address* address);

}  // namespace platform
