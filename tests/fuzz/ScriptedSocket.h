// A stand-in for the platform's TCP socket, linked into a fuzz target in
// place of src/platform/network/TcpSocket.cpp: the HTTP engine's wait cycle runs
// unchanged, but its socket plays a script instead of reaching a server, and
// its waits end at once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fuzzsupport {

// How the server side of a connection behaves. Each rhythm byte describes one
// step: its low five bits the size of the next chunk the socket hands out
// (0 a whole read's worth, else their value squared), its high three bits
// the number of polls that find nothing before it. Bit 5 also makes one send
// would-block. The steps repeat when they run out.
struct SocketScript {
  std::string_view reply;
  std::span<const std::uint8_t> rhythm;
  // Polls that find nothing before the connection completes.
  int connectPauses = 0;
  // After the last byte the connection breaks instead of closing.
  bool resetAtEnd = false;
};

// Every socket opened from now on plays script from its start. The script's
// bytes must outlive those sockets.
void UseSocketScript(const SocketScript& script);

// What the last socket was sent.
const std::string& SentBytes();

}  // namespace fuzzsupport
