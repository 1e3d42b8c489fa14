// A small HTTP server on 127.0.0.1:80 for the update queries' tests. Each
// connection's request is read up to its empty line, answered with the whole
// reply in one write, and closed.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackServer {
 public:
  // Gives the reply to a request's text.
  using Answer = std::function<std::string(const std::string& request)>;

  explicit LoopbackServer(Answer answer);
  // Serves the same reply to every request.
  explicit LoopbackServer(const std::string& reply)
      : LoopbackServer([reply](const std::string&) { return reply; }) {}
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // The requests answered so far.
  std::vector<std::string> Requests() const;

 private:
  void Serve();

  Answer m_answer;
  int m_listener;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_requests;
  std::thread m_thread;
};

// The path asked for in a request's first line.
std::string RequestPath(const std::string& request);
