// IPv4 addresses of servers named in URLs.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// The four bytes of an IPv4 address, most significant first.
using Ipv4Address = std::array<std::uint8_t, 4>;

// Reads host as a dotted IPv4 address (the forms inet_aton accepts, such as
// "127.0.0.1"); no name lookup is made. A text holding anything after the
// address, even after a blank, is not an address.
bool ParseDottedIpv4(const char* host, Ipv4Address* address);

}  // namespace platform
