// The HTTP client's connection limit: a connection that cannot be made
// fails after 30 s, so this runs with the slow tests.
#include "ProxyFreeEnvironment.h"
#include "platform/network/HttpGet.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

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
  ASSERT_TRUE(get.Start(error)) << error;
  while (get.Advance(error) && !get.HeadersArrived()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_FALSE(get.HeadersArrived());
  EXPECT_NE(error.find("Timeout was reached"), std::string::npos) << error;

  for (const int filler : fillers) close(filler);
  close(listener);
}
