#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

LoopbackServer::LoopbackServer(const char* address, Script script)
    : m_script(std::move(script)), m_listener(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(80);
  const int on = 1;
  if (inet_aton(address, &local.sin_addr) == 0 ||
      setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      bind(m_listener, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(m_listener, 8) != 0) {
    close(m_listener);
    throw std::runtime_error(std::string("cannot listen on ") + address + ":80");
  }
  m_thread = std::thread([this] { Serve(); });
}

LoopbackServer::LoopbackServer(Answer answer)
    : LoopbackServer("127.0.0.1", [answer = std::move(answer)](LoopbackServer& s) { s.Send(answer(s.Request())); }) {}

LoopbackServer::~LoopbackServer() {
  // Shutting the listener down wakes the accept that the serving thread waits in.
  shutdown(m_listener, SHUT_RDWR);
  m_released.release();
  m_thread.join();
  close(m_listener);
}

bool LoopbackServer::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = send(m_connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void LoopbackServer::WaitForRelease() { m_released.acquire(); }

void LoopbackServer::Release() { m_released.release(); }

std::string LoopbackServer::Request() const {
  const std::lock_guard lock(m_mutex);
  return m_request;
}

std::vector<std::string> LoopbackServer::Requests() const {
  const std::lock_guard lock(m_mutex);
  return m_requests;
}

void LoopbackServer::Serve() {
  for (;;) {
    const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
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
      const std::lock_guard lock(m_mutex);
      m_request = request;
    }
    m_connection = connection;
    m_script(*this);
    {
      const std::lock_guard lock(m_mutex);
      m_requests.push_back(request);
    }
    close(connection);
  }
}

std::string HttpReply(std::string_view body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

std::string RequestPath(const std::string& request) {
  const std::size_t start = request.find(' ') + 1;
  return request.substr(start, request.find(' ', start) - start);
}
