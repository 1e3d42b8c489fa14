#include "platform/network/TcpSocket.h"

#include "platform/network/SocketLayer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// A call that moved nothing reports whether it may be tried again later.
int Unmoved() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? kSocketWouldBlock : kSocketFailed; }

}  // namespace

TcpSocket::TcpSocket() {
  if (!SocketLayerStarted()) {
    return;
  }
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd_ >= 0) {
    const int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
}

bool TcpSocket::IsOpen() const { return fd_ >= 0; }

TcpSocket::~TcpSocket() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

bool TcpSocket::Connect(const Ipv4Address& address, std::uint16_t port) {
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  std::memcpy(&server.sin_addr.s_addr, address.data(), address.size());
  return connect(fd_, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0 || errno == EINPROGRESS;
}

bool TcpSocket::Poll(SocketEvents* events) {
  *events = {};
  // Writability matters only until the connection attempt has completed;
  // after that it would be reported on every poll.
  pollfd entry{fd_, static_cast<short>(POLLIN | POLLRDHUP | (connectReported_ ? 0 : POLLOUT)), 0};
  const int ready = poll(&entry, 1, 0);
  if (ready < 0) {
    return errno == EINTR;
  }
  if (ready == 0) {
    return true;
  }
  if (!connectReported_) {
    if ((entry.revents & (POLLOUT | POLLERR | POLLHUP)) == 0) {
      return true;
    }
    connectReported_ = true;
    events->connected = true;
  }
  events->readable = (entry.revents & (POLLIN | POLLERR)) != 0;
  events->peerClosed = (entry.revents & (POLLRDHUP | POLLHUP)) != 0;
  return true;
}

int TcpSocket::Send(const char* data, int length) {
  const ssize_t sent = send(fd_, data, static_cast<size_t>(length), MSG_NOSIGNAL);
  return sent >= 0 ? static_cast<int>(sent) : Unmoved();
}

int TcpSocket::Receive(char* buffer, int capacity) {
  const ssize_t received = recv(fd_, buffer, static_cast<size_t>(capacity), 0);
  const int result = received >= 0 ? static_cast<int>(received) : Unmoved();
  if (result == 0 || result == kSocketFailed) {
    receiveEnded_ = true;
  }
  return result;
}

FdWatch TcpSocket::Watch(bool sending) const {
  FdWatch watch;
  watch.fd = fd_;
  if (!connectReported_) {
    watch.forWriting = true;
    return watch;
  }
  watch.forReading = !receiveEnded_;
  watch.forWriting = sending;
  return watch;
}

}  // namespace platform
