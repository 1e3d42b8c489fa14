// The HTTP client's time limits: a connection that cannot be made and a body
// that stops. Each takes its full limit, so these run with the slow tests.
#include "ProxyFreeEnvironment.h"
#include "platform/http/HttpGet.h"
#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

TEST(HttpGetSlowTest, ABodyThatStopsForAMinuteFailsWithCurlsText) {
  ClearProxyEnvironment();
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.Send("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(100, 'x'));
    s.WaitForRelease();
  });
  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
  std::string error;
  ASSERT_TRUE(get.Send(error)) << error;
  char block[512];
  EXPECT_FALSE(get.Read(block, sizeof block, error).has_value());
  EXPECT_NE(error.find("Operation too slow"), std::string::npos) << error;
}

TEST(HttpGetSlowTest, AConnectionNotMadeInThirtySecondsFailsWithCurlsText) {
  ClearProxyEnvironment();
  // A listener whose queue of unaccepted connections is full drops further
  // connection requests, so the client's connect never completes.
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(80);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  int fillers[2];
  for (int& filler : fillers) {
    filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  }

  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
  std::string error;
  EXPECT_FALSE(get.Send(error));
  EXPECT_NE(error.find("Timeout was reached"), std::string::npos) << error;

  for (const int filler : fillers) close(filler);
  close(listener);
}
