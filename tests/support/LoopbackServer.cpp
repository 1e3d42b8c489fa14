#include "support/LoopbackServer.h"

#ifdef _WIN32
#include "platform/network/SocketLayer.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <stdexcept>

namespace {

constexpr std::uint16_t kPort = 80;
// A client that never finishes its request, or stops reading the reply, must
// not hold the test forever.
constexpr int kPeerSeconds = 10;

#ifdef _WIN32
using Socket = SOCKET;
constexpr int kSendFlags = 0;

Socket Native(std::intptr_t socket) { return static_cast<Socket>(socket); }
void CloseSocket(std::intptr_t socket) { closesocket(Native(socket)); }
Socket OpenStream() { return socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); }
bool ReadAddress(const char* text, in_addr* address) { return inet_pton(AF_INET, text, address) == 1; }
Socket AcceptNext(std::intptr_t listener) { return accept(Native(listener), nullptr, nullptr); }
bool AcceptAgain() { return false; }
void LimitWaits(Socket connection) {
  const DWORD limitMs = kPeerSeconds * 1000;
  for (const int option : {SO_RCVTIMEO, SO_SNDTIMEO}) {
    setsockopt(connection, SOL_SOCKET, option, reinterpret_cast<const char*>(&limitMs), sizeof limitMs);
  }
}
#else
using Socket = int;
constexpr int kSendFlags = MSG_NOSIGNAL;

Socket Native(std::intptr_t socket) { return static_cast<Socket>(socket); }
void CloseSocket(std::intptr_t socket) { close(Native(socket)); }
Socket OpenStream() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }
bool ReadAddress(const char* text, in_addr* address) { return inet_aton(text, address) != 0; }
Socket AcceptNext(std::intptr_t listener) { return accept4(Native(listener), nullptr, nullptr, SOCK_CLOEXEC); }
bool AcceptAgain() { return errno == EINTR; }
void LimitWaits(Socket connection) {
  const timeval limit{kPeerSeconds, 0};
  for (const int option : {SO_RCVTIMEO, SO_SNDTIMEO}) {
    setsockopt(connection, SOL_SOCKET, option, &limit, sizeof limit);
  }
}
#endif

sockaddr_in LocalAddress(const std::string& text) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(kPort);
  if (!ReadAddress(text.c_str(), &local.sin_addr)) {
    throw std::runtime_error("not an address: " + text);
  }
  return local;
}

}  // namespace

LoopbackServer::LoopbackServer(const char* address, Script script) : script_(std::move(script)), address_(address) {
#ifdef _WIN32
  // Through the platform's counted start, which keeps WinSock's starts and
  // cleanups from racing with those of the code under test.
  platform::StartSocketLayer();
#endif
  const sockaddr_in local = LocalAddress(address_);
  const Socket listener = OpenStream();
  listener_ = static_cast<std::intptr_t>(listener);
  const int on = 1;
  if (setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on) != 0 ||
      bind(listener, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(listener, 8) != 0) {
    CloseSocket(listener_);
#ifdef _WIN32
    platform::CleanupSocketLayer();
#endif
    throw std::runtime_error("cannot listen on " + address_ + ":80");
  }
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::LoopbackServer(Answer answer)
    : LoopbackServer("127.0.0.1", [answer = std::move(answer)](LoopbackServer& s) { s.Send(answer(s.Request())); }) {}

LoopbackServer::~LoopbackServer() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  released_.notify_all();
#ifdef _WIN32
  // WinSock's shutdown does not end a waiting accept; a connection does,
  // and the serving thread then sees that it is stopping.
  const sockaddr_in local = LocalAddress(address_);
  const Socket waker = OpenStream();
  connect(waker, reinterpret_cast<const sockaddr*>(&local), sizeof local);
#else
  // Shutting the listener down wakes the accept that the serving thread waits in.
  shutdown(Native(listener_), SHUT_RDWR);
#endif
  thread_.join();
  CloseSocket(listener_);
#ifdef _WIN32
  closesocket(waker);
  platform::CleanupSocketLayer();
#endif
}

bool LoopbackServer::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto n = send(Native(connection_), bytes.data(), static_cast<int>(bytes.size()), kSendFlags);
    if (n <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void LoopbackServer::WaitForRelease() {
  std::unique_lock lock(mutex_);
  released_.wait(lock, [this] { return releases_ > 0 || stopping_; });
  if (releases_ > 0) --releases_;
}

void LoopbackServer::Release() {
  {
    const std::lock_guard lock(mutex_);
    ++releases_;
  }
  released_.notify_all();
}

std::string LoopbackServer::Request() const {
  const std::lock_guard lock(mutex_);
  return request_;
}

std::vector<std::string> LoopbackServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve() {
  for (;;) {
    const Socket connection = AcceptNext(listener_);
    if (connection == static_cast<Socket>(-1) && AcceptAgain()) {
      continue;
    }
    if (connection == static_cast<Socket>(-1) || stopping_) {
      if (connection != static_cast<Socket>(-1)) {
        CloseSocket(static_cast<std::intptr_t>(connection));
      }
      return;
    }
    LimitWaits(connection);
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const auto n = recv(connection, chunk, sizeof chunk, 0);
      if (n <= 0) {
        break;
      }
      request.append(chunk, static_cast<std::size_t>(n));
    }
    {
      const std::lock_guard lock(mutex_);
      request_ = request;
    }
    connection_ = static_cast<std::intptr_t>(connection);
    script_(*this);
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    CloseSocket(connection_);
  }
}

std::string HttpReply(std::string_view body, std::string_view status) {
  return "HTTP/1.1 " + std::string(status) + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
         std::string(body);
}

std::string RequestPath(const std::string& request) {
  const std::size_t start = request.find(' ') + 1;
  return request.substr(start, request.find(' ', start) - start);
}
