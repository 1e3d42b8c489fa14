#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

LoopbackServer::LoopbackServer(Answer answer)
    : m_answer(std::move(answer)), m_listener(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  const int on = 1;
  setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(80);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(m_listener, 8) != 0) {
    close(m_listener);
    throw std::runtime_error("cannot serve 127.0.0.1:80");
  }
  m_thread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  // Shutting the listener down wakes the accept that the serving thread waits in.
  shutdown(m_listener, SHUT_RDWR);
  m_thread.join();
  close(m_listener);
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
    if (request.find("\r\n\r\n") != std::string::npos) {
      const std::string reply = m_answer(request);
      send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
      const std::lock_guard lock(m_mutex);
      m_requests.push_back(request);
    }
    close(connection);
  }
}

std::string RequestPath(const std::string& request) {
  const std::size_t start = request.find(' ') + 1;
  return request.substr(start, request.find(' ', start) - start);
}
