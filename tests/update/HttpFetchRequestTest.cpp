// The request bytes sent for each form of URL, and the URLs refused before
// any connection attempt.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "update/FetchFailure.h"

namespace {

using HttpFetchRequestTest = FetchTest;

std::string RequestSentFor(const std::string& url, int noCache = 1) {
  LoopbackServer server(HttpReply("ok"));
  EXPECT_TRUE(FetchToMemory(url, noCache).blockSet) << url;
  return server.Request();
}

std::string Request(const std::string& path, const std::string& host, const std::string& referer) {
  return "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nAccept: */*\r\nReferer: " + referer +
         "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
         "Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n";
}

// inet_aton reads a number with a leading zero as octal, so this host text
// of any length names 127.0.0.1 and would be connected to unless its length
// is refused.
std::string PaddedHost(std::size_t length) { return std::string(length - 9, '0') + "177.0.0.1"; }

}  // namespace

TEST_F(HttpFetchRequestTest, RequestBytesAreExact) {
  const std::string host = "127.0.0.1", root = "http://127.0.0.1/", longPath = "/" + std::string(245, 'p');
  const std::string nineLines = Request("/a.php?x=1", host, root);
  EXPECT_EQ(RequestSentFor("http://127.0.0.1/a.php?x=1"), nineLines);
  const std::string noCacheLines = "Pragma: no-cache\r\nCache-Control: no-cache\r\n";
  std::string fiveHeaders = nineLines;
  fiveHeaders.erase(fiveHeaders.find(noCacheLines), noCacheLines.size());
  EXPECT_EQ(RequestSentFor("http://127.0.0.1/a.php?x=1", 0), fiveHeaders);

  EXPECT_EQ(RequestSentFor("127.0.0.1/dir/a.php"), Request("/dir/a.php", host, root));
  EXPECT_EQ(RequestSentFor("127.0.0.1"), Request("/", host, root));
  EXPECT_EQ(RequestSentFor("http:\\\\127.0.0.1\\dir\\a.php"), Request("/dir/a.php", host, root));
  EXPECT_EQ(RequestSentFor("http://127.0.0.1"), Request("/", host, root));
  EXPECT_EQ(RequestSentFor("HtTp://127.0.0.1/a"), Request("/a", host, "HtTp://127.0.0.1/"));
  EXPECT_EQ(RequestSentFor("http://127.0.0.1" + longPath), Request(longPath, host, root));
  const std::string longHost = PaddedHost(119);  // the referer text takes 127 characters
  EXPECT_EQ(RequestSentFor("http://" + longHost + "/a"), Request("/a", longHost, "http://" + longHost + "/"));
}

TEST_F(HttpFetchRequestTest, BadOrOverLongUrlsAndOnesWithBlanksOrControlsFailWithoutAConnectionAttempt) {
  LoopbackServer server(HttpReply("ok"));
  for (const std::string& url :
       {std::string("ftp://127.0.0.1/a"), std::string("http:/127.0.0.1/a"),
        std::string("127.0.0.1:80/a"),                // a colon with no scheme before it
        std::string("http://127.0.0.1:80/a"),         // looked up as a name, which fails
        "http://127.0.0.1/" + std::string(246, 'p'),  // path of 247 characters
        "http://127.0.0.1/" + std::string(1100, 'u'), "http://" + PaddedHost(120) + "/a",
        "http://" + PaddedHost(128) + "/a", std::string("http://127.0.0.1 /a"), std::string("http://127.0.0.1\t/a"),
        std::string("http://127.0.0.1 evil/a"),  // inet_aton would read 127.0.0.1 alone
        std::string("http://127.0.0.1/a\r\nX-Injected: 1"), std::string("http://127.0.0.1/a b"),
        std::string("127.0.0.1/a\n"), std::string("http://127.0.0.1/a\x7F"), std::string("http://127.0.0.1/a\x01")}) {
    progressCodes.clear();
    const MemoryReply reply = FetchToMemory(url);
    EXPECT_FALSE(reply.blockSet || reply.result != 0 || ConnectionAttempted()) << url;
  }
  char* block = nullptr;
  EXPECT_EQ(HttpFetch(nullptr, &block, 1, 1, nullptr, RecordProgress), 0);
  EXPECT_EQ(block, nullptr);
  EXPECT_FALSE(ConnectionAttempted());
  // The server is still waiting for its one connection: the refused URLs never reached it.
  EXPECT_TRUE(FetchToMemory("http://127.0.0.1/a").blockSet);
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
