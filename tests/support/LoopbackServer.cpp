#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

LoopbackServer::LoopbackServer(const char* address, Script script)
    : script_(std::move(script)), listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(80);
  const int on = 1;
  if (inet_aton(address, &local.sin_addr) == 0 ||
      setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      bind(listener_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(listener_, 8) != 0) {
    close(listener_);
    throw std::runtime_error(std::string("cannot listen on ") + address + ":80");
  }
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::LoopbackServer(Answer answer)
    : LoopbackServer("127.0.0.1", [answer = std::move(answer)](LoopbackServer& s) { s.Send(answer(s.Request())); }) {}

LoopbackServer::~LoopbackServer() {
  // Shutting the listener down wakes the accept that the serving thread waits in.
  shutdown(listener_, SHUT_RDWR);
  released_.release();
  thread_.join();
  close(listener_);
}

bool LoopbackServer::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void LoopbackServer::WaitForRelease() { released_.acquire(); }

void LoopbackServer::Release() { released_.release(); }

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
    const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0 && errno == EINTR) {
      continue;
    }
    if (connection < 0) {
      return;
    }
    // A client that never finishes its request must not hold the test forever.
    const timeval limit{10, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = recv(connection, chunk, sizeof chunk, 0);
      if (n <= 0) {
        break;
      }
      request.append(chunk, static_cast<std::size_t>(n));
    }
    {
      const std::lock_guard lock(mutex_);
      request_ = request;
    }
    connection_ = connection;
    script_(*this);
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    close(connection);
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
