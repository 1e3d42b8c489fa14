#include "platform/network/TcpSocket.h"

#include "platform/network/SocketLayer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

namespace platform {
namespace {

constexpr long kNetworkEvents = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE;

static_assert(sizeof(std::uintptr_t) == sizeof(SOCKET));

SOCKET Handle(std::uintptr_t socket) { return static_cast<SOCKET>(socket); }

// A call that moved nothing reports whether it may be tried again later.
int Unmoved() {
  const int error = WSAGetLastError();
  return error == WSAEWOULDBLOCK || error == WSAEINTR ? kSocketWouldBlock : kSocketFailed;
}

}  // namespace

TcpSocket::TcpSocket() : socket_(INVALID_SOCKET) {
  if (!SocketLayerStarted()) {
    return;
  }
  const SOCKET made = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
  if (made == INVALID_SOCKET) {
    return;
  }
  const BOOL on = TRUE;
  setsockopt(made, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  // WSAEventSelect also makes the socket non-blocking.
  const WSAEVENT event = WSACreateEvent();
  if (event == WSA_INVALID_EVENT || WSAEventSelect(made, event, kNetworkEvents) != 0) {
    if (event != WSA_INVALID_EVENT) {
      WSACloseEvent(event);
    }
    closesocket(made);
    return;
  }
  socket_ = made;
  event_ = event;
}

TcpSocket::~TcpSocket() {
  if (IsOpen()) {
    closesocket(Handle(socket_));
    WSACloseEvent(event_);
  }
}

bool TcpSocket::IsOpen() const { return Handle(socket_) != INVALID_SOCKET; }

bool TcpSocket::Connect(const Ipv4Address& address, std::uint16_t port) {
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  std::memcpy(&server.sin_addr.s_addr, address.data(), address.size());
  return connect(Handle(socket_), reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 ||
         WSAGetLastError() == WSAEWOULDBLOCK;
}

void TcpSocket::Collect() const {
  WSANETWORKEVENTS recorded{};
  if (WSAEnumNetworkEvents(Handle(socket_), event_, &recorded) != 0) {
    // The socket cannot be asked: what a receive will find out.
    connectEnded_ = dataWaiting_ = peerClosed_ = true;
    return;
  }
  const long events = recorded.lNetworkEvents;
  if ((events & FD_CONNECT) != 0) {
    connectEnded_ = true;
    if (recorded.iErrorCode[FD_CONNECT_BIT] != 0) {
      // A failed attempt: the receive and send that follow fail.
      dataWaiting_ = peerClosed_ = true;
    }
  }
  if ((events & FD_READ) != 0) {
    dataWaiting_ = true;
  }
  if ((events & FD_CLOSE) != 0) {
    dataWaiting_ = peerClosed_ = true;
  }
  if ((events & FD_WRITE) != 0) {
    roomToSend_ = true;
  }
}

bool TcpSocket::Poll(SocketEvents* events) {
  *events = {};
  Collect();
  if (!connectReported_) {
    if (!connectEnded_) {
      return true;
    }
    connectReported_ = true;
    events->connected = true;
  }
  events->readable = dataWaiting_;
  events->peerClosed = peerClosed_;
  return true;
}

int TcpSocket::Send(const char* data, int length) {
  // Records older than this send would otherwise tell of room it uses up.
  Collect();
  const int sent = send(Handle(socket_), data, length, 0);
  if (sent >= 0) {
    return sent;
  }
  const int result = Unmoved();
  if (result == kSocketWouldBlock) {
    roomToSend_ = false;  // WinSock records FD_WRITE once there is room again
  }
  return result;
}

int TcpSocket::Receive(char* buffer, int capacity) {
  // Records older than this receive would otherwise tell of data it takes.
  Collect();
  const int received = recv(Handle(socket_), buffer, capacity, 0);
  const int result = received >= 0 ? received : Unmoved();
  if (result == kSocketWouldBlock) {
    dataWaiting_ = false;  // the next FD_READ tells of new data
  }
  if (result == 0 || result == kSocketFailed) {
    receiveEnded_ = true;
  }
  return result;
}

FdWatch TcpSocket::Watch(bool sending) const {
  FdWatch watch;
  const bool reading = connectReported_ && !receiveEnded_;
  if (connectReported_ && !reading && !sending) {
    return watch;
  }
  watch.event = event_;
  // The event object tells of records made after this look; news already
  // taken in sets it again, so the wait ends at once as a poll(2) would.
  Collect();
  const bool news = connectReported_ ? (reading && dataWaiting_) || (sending && roomToSend_) : connectEnded_;
  if (news) {
    SetEvent(event_);
  }
  return watch;
}

}  // namespace platform
