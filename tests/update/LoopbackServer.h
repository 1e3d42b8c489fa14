// A one-connection HTTP server on port 80 of a loopback address, scripted by
// a test. It listens from construction on, reads the request up to its empty
// line, keeps its exact bytes, runs the script and closes the connection.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <semaphore>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

class LoopbackServer {
 public:
  using Script = std::function<void(LoopbackServer&)>;

  LoopbackServer(const char* address, Script script) : script_(std::move(script)) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(80);
    const int on = 1;
    if (inet_aton(address, &local.sin_addr) == 0 ||
        setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(listenFd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(listenFd_, 1) != 0) {
      close(listenFd_);
      throw std::runtime_error(std::string("cannot listen on ") + address + ":80");
    }
    thread_ = std::thread([this] { Serve(); });
  }
  // Wakes a server still waiting for its connection or a release.
  ~LoopbackServer() {
    shutdown(listenFd_, SHUT_RDWR);
    released_.release();
    thread_.join();
    close(listenFd_);
  }

  // For the script: sends all of bytes, false once the client is gone.
  bool Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) {
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }
  // For the script: waits until the test calls Release (or the server ends).
  void WaitForRelease() { released_.acquire(); }
  void Release() { released_.release(); }

  // The request's bytes; complete once the server has answered.
  const std::string& Request() const { return request_; }

 private:
  void Serve() {
    fd_ = accept(listenFd_, nullptr, nullptr);
    if (fd_ < 0) {
      return;
    }
    char chunk[512];
    ssize_t n = 0;
    while (request_.find("\r\n\r\n") == std::string::npos &&
           (n = recv(fd_, chunk, sizeof chunk, 0)) > 0) {
      request_.append(chunk, static_cast<std::size_t>(n));
    }
    script_(*this);
    close(fd_);
  }

  Script script_;
  int listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int fd_ = -1;
  std::string request_;
  std::counting_semaphore<8> released_{0};
  std::thread thread_;
};

// A complete reply carrying body.
inline std::string HttpReply(std::string_view body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
         std::string(body);
}
