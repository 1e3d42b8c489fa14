// A non-blocking IPv4 TCP client socket, polled without waiting. On Windows
// its network events are tied to an event object (WSAEventSelect), which is
// what a wait watches.
#pragma once

#include "platform/network/FdWatch.h"
#include "platform/network/Ipv4Address.h"

#include <cstdint>

namespace platform {

// What one poll of a socket found.
struct SocketEvents {
  // The connection attempt has completed, well or not. Reported by one poll
  // only; a failed attempt shows up at the next send.
  bool connected = false;
  // A receive will not block: data, the end of the stream or an error waits.
  bool readable = false;
  // The peer has closed its side of the connection.
  bool peerClosed = false;
};

// Results of Send and Receive besides a byte count.
inline constexpr int kSocketWouldBlock = -1;  // nothing can move at this moment
inline constexpr int kSocketFailed = -2;      // the connection is broken

class TcpSocket {
 public:
  // Opens a non-blocking stream socket with TCP_NODELAY set. The socket
  // layer must be started; IsOpen() tells whether the socket was made.
  TcpSocket();
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  bool IsOpen() const;

  // Issues the connection attempt; false when it could not be issued.
  bool Connect(const Ipv4Address& address, std::uint16_t port);
  // Reports the events waiting now, without waiting; false when the poll failed.
  bool Poll(SocketEvents* events);
  // Bytes accepted (at most length), kSocketWouldBlock or kSocketFailed.
  int Send(const char* data, int length);
  // Bytes read (at most capacity; 0 at the end of the stream),
  // kSocketWouldBlock or kSocketFailed.
  int Receive(char* buffer, int capacity);

  // What a wait watches to end when the socket has news: the end of the
  // connection attempt, then arriving data or the peer's close, and room for
  // more bytes while `sending`. A stream already read to its end or broken
  // is not watched for reading, so it cannot wake the wait again.
  FdWatch Watch(bool sending) const;

 private:
#ifdef _WIN32
  // Takes the network events WinSock recorded since the last look (which
  // resets the event object) into the flags below.
  void Collect() const;

  std::uintptr_t socket_;  // SOCKET; INVALID_SOCKET when not made
  void* event_ = nullptr;  // WSAEVENT the socket's network events set
  // What the recorded events have told and no call has used up yet. WinSock
  // records FD_READ again only after a receive and FD_CLOSE once, so the
  // socket's state is kept here between polls.
  mutable bool connectEnded_ = false;
  mutable bool dataWaiting_ = false;
  mutable bool peerClosed_ = false;
  mutable bool roomToSend_ = false;
#else
  int fd_ = -1;
#endif
  bool connectReported_ = false;
  bool receiveEnded_ = false;
};

}  // namespace platform
