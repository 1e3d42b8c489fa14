// The request bytes the update queries send, and the servers they reach.
// Their addresses are always "http://", the web host's name (letters,
// digits, dots and hyphens, as WebHostName checks) and a fixed path.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "update/FetchFailure.h"

namespace {

using HttpFetchRequestTest = FetchTest;

std::string RequestSentFor(const std::string& url) {
  LoopbackServer server(HttpReply("ok"));
  EXPECT_TRUE(FetchToMemory(url).blockSet) << url;
  return server.Request();
}

std::string Request(const std::string& path, const std::string& host, const std::string& referer) {
  return "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nAccept: */*\r\nReferer: " + referer +
         "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
         "Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n";
}

}  // namespace

TEST_F(HttpFetchRequestTest, RequestBytesAreExact) {
  EXPECT_EQ(RequestSentFor("http://127.0.0.1/a.php?x=1"), Request("/a.php?x=1", "127.0.0.1", "http://127.0.0.1/"));
}

TEST_F(HttpFetchRequestTest, AHostNameIsLookedUpAndAnUnknownOneFailsTheFetch) {
  LoopbackServer server(HttpReply("ok"));
  const MemoryReply found = FetchToMemory("http://localhost/a");
  ASSERT_TRUE(found.blockSet) << "localhost did not resolve to 127.0.0.1";
  EXPECT_EQ(found.text, HttpReply("ok"));
  EXPECT_EQ(server.Request(), Request("/a", "localhost", "http://localhost/"));

  progressCodes.clear();
  const MemoryReply unknown = FetchToMemory("http://no-such-host.invalid/a");
  EXPECT_FALSE(unknown.blockSet || unknown.result != 0 || ConnectionAttempted());
  EXPECT_EQ(LastFetchFailure(), FetchFailure::kLookup);
}
