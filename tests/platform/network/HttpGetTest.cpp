// The platform's HTTP client against servers on loopback addresses: what the
// request looks like, when Send and Read return, redirects and stalls.
#include "platform/network/HttpGet.h"
#include "support/LoopbackServer.h"
#include "support/ProxyFreeEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

class HttpGetTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearProxyEnvironment(); }
  void TearDown() override { ClearProxyEnvironment(); }
};

// Moves the transfer on until cond holds or it fails; false on failure,
// with the reason in `error`.
bool DriveUntil(platform::HttpGet& get, const std::function<bool()>& cond, std::string& error) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (get.Advance(error)) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > deadline) {
      error = "the test gave up";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

bool Send(platform::HttpGet& get, std::string& error) {
  return get.Start(error) && DriveUntil(
                                 get, [&get] { return get.HeadersArrived(); }, error);
}

// Reads the whole body in blocks of at most `block` bytes.
std::string ReadAll(platform::HttpGet& get, std::size_t block) {
  std::string body;
  std::string error;
  std::vector<char> buffer(block);
  for (;;) {
    const bool moved = DriveUntil(
        get, [&get] { return get.Available() > 0 || get.BodyEnded(); }, error);
    EXPECT_TRUE(moved) << error;
    if (!moved || get.BodyEnded()) return body;
    body.append(buffer.data(), get.Read(buffer.data(), block));
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

TEST_F(HttpGetTest, AnHttp10GetWithoutUserAgentHasItsHeadersBeforeTheBodyComes) {
  const std::string body(1300, 'p');
  LoopbackServer server("127.0.0.1", [&body](LoopbackServer& s) {
    s.Send("HTTP/1.1 200 OK\r\nContent-Length:  1300 \r\n\r\n");
    s.WaitForRelease();  // the body only once Send has come back
    s.Send(body.substr(0, 100));
    s.WaitForRelease();  // the rest once the first part was seen
    for (std::size_t at = 100; at < body.size(); at += 100) {
      s.Send(body.substr(at, 100));
    }
  });
  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
  std::string error;
  ASSERT_TRUE(Send(get, error)) << error;
  EXPECT_EQ(get.Header("content-length"), "1300");
  EXPECT_EQ(get.Header("Server"), std::nullopt);

  EXPECT_EQ(get.Status(), 200);
  EXPECT_EQ(get.Available(), 0u);
  EXPECT_FALSE(get.BodyEnded());
  // Each part can be read as soon as it has come.
  server.Release();
  EXPECT_TRUE(DriveUntil(
      get, [&get] { return get.Available() >= 100; }, error))
      << error;
  EXPECT_EQ(get.Available(), 100u);
  server.Release();
  EXPECT_EQ(ReadAll(get, 512), body);

  // Nothing but the Host header: no User-Agent, no Accept.
  EXPECT_EQ(server.Request(), "GET /MRVPatch.exe HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(HttpGetTest, AReplyIsReadAsItsServerFramedIt) {
  const struct {
    const char* name;
    std::string reply;
    int status;
    const char* body;
  } cases[] = {
      {"not found", HttpReply("gone", "404 Not Found"), 404, "gone"},
      {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\npatc\r\n1\r\nh\r\n0\r\n\r\n", 200,
       "patch"},
      {"ended by the close", "HTTP/1.0 200 OK\r\n\r\npatch", 200, "patch"},
      // The caller compares what it read with Content-Length.
      {"cut short", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\npat", 200, "pat"},
  };
  for (const auto& c : cases) {
    LoopbackServer server(c.reply);
    platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
    std::string error;
    ASSERT_TRUE(Send(get, error)) << c.name << ": " << error;
    EXPECT_EQ(get.Status(), c.status) << c.name;
    EXPECT_EQ(ReadAll(get, 2), c.body) << c.name;
    EXPECT_TRUE(get.Advance(error)) << c.name << ": " << error;
  }
}

TEST_F(HttpGetTest, AServerThatRefusesTheConnectionFailsTheTransfer) {
  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");  // nobody listens
  std::string error;
  EXPECT_FALSE(Send(get, error));
  EXPECT_FALSE(error.empty());
  EXPECT_NE(error, "the test gave up");
  EXPECT_FALSE(get.HeadersArrived());
}

TEST_F(HttpGetTest, TenRedirectsAreFollowedAnEleventhOrAnotherSchemeIsNot) {
  std::string error;
  {
    const auto servers = RedirectChain(10);
    platform::HttpGet get("127.0.0.1", 80, "/first");
    ASSERT_TRUE(Send(get, error)) << error;
    EXPECT_EQ(get.Header("Content-Length"), "5");
    EXPECT_EQ(ReadAll(get, 512), "patch");
    EXPECT_EQ(FirstLine(servers.back()->Request()), "GET /next HTTP/1.0");
  }
  {
    const auto servers = RedirectChain(11);
    platform::HttpGet get("127.0.0.1", 80, "/first");
    EXPECT_FALSE(Send(get, error));
    EXPECT_NE(error.find("redirects"), std::string::npos) << error;
  }
  {
    const auto servers = RedirectChain(1, "ftp://127.0.0.2/next");
    platform::HttpGet get("127.0.0.1", 80, "/first");
    EXPECT_FALSE(Send(get, error));
    EXPECT_TRUE(servers.back()->Request().empty());
  }
}

TEST_F(HttpGetTest, ABlankOrLineBreakInTheServerNameSendsNothing) {
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.Send(HttpReply("patch")); });
  platform::HttpGet get("127.0.0.1\r\nX-Injected: yes", 80, "/MRVPatch.exe");
  std::string error;
  EXPECT_FALSE(Send(get, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(server.Request().empty());
}

TEST_F(HttpGetTest, ATransferThatStallsFailsWithTheLimitItBroke) {
  using namespace std::chrono_literals;
  struct Case {
    const char* name;
    LoopbackServer::Script script;
    platform::HttpGet::StallLimits limits;
    const char* reason;
  };
  const Case cases[] = {
      {"silent after 100 bytes",
       [](LoopbackServer& s) {
         s.Send("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(100, 'x'));
         s.WaitForRelease();
       },
       {300ms, 60s, 1024},
       "nothing received for 300 ms"},
      {"a byte every 20 ms",
       [](LoopbackServer& s) {
         s.Send("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n");
         while (s.Send("x")) std::this_thread::sleep_for(20ms);
       },
       {10s, 400ms, 1000},
       "less than 1000 bytes received in 400 ms"},
  };
  for (const Case& c : cases) {
    LoopbackServer server("127.0.0.1", c.script);
    platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
    get.SetStallLimits(c.limits);
    std::string error;
    ASSERT_TRUE(Send(get, error)) << c.name << ": " << error;
    char block[512];
    EXPECT_FALSE(DriveUntil(
        get, [&] { return get.Read(block, sizeof block) == 0 && get.BodyEnded(); }, error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    server.Release();
  }
}

TEST_F(HttpGetTest, WaitingForTheReaderIsNoStall) {
  using namespace std::chrono_literals;
  const std::string body(1 << 20, 'b');
  LoopbackServer server("127.0.0.1", [&body](LoopbackServer& s) {
    s.Send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
  });
  platform::HttpGet get("127.0.0.1", 80, "/MRVPatch.exe");
  get.SetStallLimits({200ms, 60s, 1024});
  std::string error;
  ASSERT_TRUE(Send(get, error)) << error;
  // Its buffer fills and the transfer pauses; nothing arrives meanwhile.
  const auto until = std::chrono::steady_clock::now() + 600ms;
  EXPECT_TRUE(DriveUntil(
      get, [&] { return std::chrono::steady_clock::now() > until; }, error))
      << error;
  EXPECT_EQ(ReadAll(get, 512), body);
}
