// The platform's HTTP client against servers on loopback addresses: what the
// request looks like, when Send and Read return, redirects and the proxy.
#include "ProxyFreeEnvironment.h"
#include "platform/http/HttpGet.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

class HttpGetTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearProxyEnvironment(); }
  void TearDown() override { ClearProxyEnvironment(); }
};

// Reads the whole body in blocks of `block` bytes; the counts go to `counts`.
std::string ReadAll(platform::HttpGet& get, std::size_t block, std::vector<std::size_t>* counts = nullptr) {
  std::string body;
  std::string error;
  std::vector<char> buffer(block);
  for (;;) {
    const std::optional<std::size_t> n = get.Read(buffer.data(), block, error);
    EXPECT_TRUE(n.has_value()) << error;
    if (!n) return body;
    if (counts != nullptr) counts->push_back(*n);
    body.append(buffer.data(), *n);
    if (*n < block) return body;
  }
}

std::string FirstLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }

// One-connection servers on 127.0.0.1, .2, ...: each of the first
// `redirects` sends the client on to the next one (the last of them to
// lastLocation when it is given), and the one after them answers.
std::vector<std::unique_ptr<LoopbackServer>> RedirectChain(int redirects, const std::string& lastLocation = "") {
  std::vector<std::unique_ptr<LoopbackServer>> servers;
  for (int i = 1; i <= redirects + 1; ++i) {
    std::string reply = HttpReply("patch");
    if (i <= redirects) {
      const std::string next =
          i == redirects && !lastLocation.empty() ? lastLocation : "http://127.0.0." + std::to_string(i + 1) + "/next";
      reply = "HTTP/1.1 302 Found\r\nLocation: " + next + "\r\nContent-Length: 4\r\n\r\nmove";
    }
    const std::string address = "127.0.0." + std::to_string(i);
    servers.push_back(std::make_unique<LoopbackServer>(address.c_str(), [reply](LoopbackServer& s) { s.Send(reply); }));
  }
  return servers;
}

}  // namespace

TEST_F(HttpGetTest, AnHttp10GetWithoutUserAgentReturnsAtTheHeadersAndReadsWholeBlocks) {
  const std::string body(1300, 'p');
  LoopbackServer server("127.0.0.1", [&body](LoopbackServer& s) {
    s.Send("HTTP/1.1 200 OK\r\nContent-Length:  1300 \r\n\r\n");
    s.WaitForRelease();  // the body only once Send has come back
    for (std::size_t at = 0; at < body.size(); at += 100) {
      s.Send(body.substr(at, 100));
    }
  });
  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
  std::string error;
  ASSERT_TRUE(get.Send(error)) << error;
  EXPECT_EQ(get.Header("content-length"), "1300");
  EXPECT_EQ(get.Header("Server"), std::nullopt);
  server.Release();

  std::vector<std::size_t> counts;
  EXPECT_EQ(ReadAll(get, 512, &counts), body);
  EXPECT_EQ(counts, (std::vector<std::size_t>{512, 512, 276}));

  const std::string& request = server.Request();
  EXPECT_EQ(FirstLine(request), "GET /MRVPatch.exe HTTP/1.0");
  EXPECT_NE(request.find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);
  EXPECT_EQ(request.find("User-Agent"), std::string::npos);
  EXPECT_EQ(request.find("Accept"), std::string::npos);
}

TEST_F(HttpGetTest, TenRedirectsAreFollowedAnEleventhOrAnotherSchemeIsNot) {
  std::string error;
  {
    const auto servers = RedirectChain(10);
    platform::HttpGet get("127.0.0.1", 80, "/first");
    ASSERT_TRUE(get.Send(error)) << error;
    EXPECT_EQ(get.Header("Content-Length"), "5");
    EXPECT_EQ(ReadAll(get, 512), "patch");
    EXPECT_EQ(FirstLine(servers.back()->Request()), "GET /next HTTP/1.0");
  }
  {
    const auto servers = RedirectChain(11);
    platform::HttpGet get("127.0.0.1", 80, "/first");
    EXPECT_FALSE(get.Send(error));
    EXPECT_NE(error.find("redirects"), std::string::npos) << error;
  }
  {
    const auto servers = RedirectChain(1, "ftp://127.0.0.2/next");
    platform::HttpGet get("127.0.0.1", 80, "/first");
    EXPECT_FALSE(get.Send(error));
    EXPECT_TRUE(servers.back()->Request().empty());
  }
}

TEST_F(HttpGetTest, TheProxyOfTheEnvironmentReceivesTheRequest) {
  setenv("http_proxy", "http://127.0.0.2:80", 1);
  LoopbackServer proxy("127.0.0.2", [](LoopbackServer& s) { s.Send(HttpReply("via proxy")); });
  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
  std::string error;
  ASSERT_TRUE(get.Send(error)) << error;
  EXPECT_EQ(ReadAll(get, 512), "via proxy");
  EXPECT_EQ(FirstLine(proxy.Request()), "GET http://127.0.0.1/MRVPatch.exe HTTP/1.0");
}

TEST_F(HttpGetTest, ABlankOrLineBreakInTheServerNameSendsNothing) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.Send(HttpReply("patch")); });
  platform::HttpGet get("127.0.0.1\r\nX-Injected: yes", 80, "/MRVPatch.exe");
  std::string error;
  EXPECT_FALSE(get.Send(error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(server.Request().empty());
}
