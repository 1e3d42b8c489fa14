// An HTTP server on port 80 of a loopback address for the tests of the
// update queries. It takes connections one after another; for each, it reads
// the request up to its empty line, keeps its bytes, runs the test's script
// (which answers, waits or stays silent) and closes the connection. The same
// server serves the Windows tests, over WinSock. Its waits end when the
// server does: a test that fails half-way still ends.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class LoopbackServer {
 public:
  // What to do with one connection, once its request is in.
  using Script = std::function<void(LoopbackServer&)>;
  // The whole reply to a request's text, sent in one piece.
  using Answer = std::function<std::string(const std::string& request)>;

  // Serves `address` (such as "127.0.0.1"); throws when it cannot listen there.
  LoopbackServer(const char* address, Script script);
  // Serves 127.0.0.1, answering every request.
  explicit LoopbackServer(Answer answer);
  // Serves 127.0.0.1 with the same reply to every request.
  explicit LoopbackServer(const std::string& reply) : LoopbackServer([reply](const std::string&) { return reply; }) {}
  // Ends every wait of the script, now and later, and stops serving.
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // For the script: sends all of bytes on the connection, false once the client is gone.
  bool Send(std::string_view bytes);
  // For the script: waits for a release of the test's not yet waited for,
  // or for the server's end.
  void WaitForRelease();
  void Release();

  // The last request's bytes; complete once its script has run.
  std::string Request() const;
  // Every request whose script has run, in order.
  std::vector<std::string> Requests() const;

 private:
  void Serve();

  Script script_;
  std::string address_;
  // Descriptors on Linux, SOCKETs on Windows; -1 (INVALID_SOCKET) for none.
  std::intptr_t listener_ = -1;
  std::intptr_t connection_ = -1;
  std::atomic<bool> stopping_ = false;
  mutable std::mutex mutex_;
  std::string request_;
  std::vector<std::string> requests_;
  // Releases not yet waited for, under mutex_. Not a std::counting_semaphore:
  // MinGW's libstdc++ 12 has no platform wait, and its waiter checks the count
  // before it locks, so a release in between is lost and the script sleeps on.
  int releases_ = 0;
  std::condition_variable released_;
  std::thread thread_;
};

// A complete reply carrying body, with the given status.
std::string HttpReply(std::string_view body, std::string_view status = "200 OK");
// The path asked for in a request's first line.
std::string RequestPath(const std::string& request);
