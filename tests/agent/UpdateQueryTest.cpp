// Both update queries against a server on the loopback interface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Headless.h"
#include "support/LoopbackServer.h"
#include "update/UpdateAgent.h"

namespace {

constexpr char VERSION_URL[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/version.php";
constexpr char SITE_URL[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/download_sites.php";

}  // namespace

TEST(UpdateQueryOverLoopback, OnlyARepliesKeyCountsAndAFailedQueryKeepsTheLastVersionAndSite) {
  const testsupport::HeadlessSession session;
  UpdateAgent agent;
  {
    // The key counts whatever the status, and the query asks past any cache.
    const LoopbackServer server(HttpReply("MRVVERSION2.0.1.0.4", "404 Not Found"));
    EXPECT_TRUE(agent.QueryLatestVersion(VERSION_URL));
    EXPECT_NE(server.Request().find("\r\nCache-Control: no-cache\r\n"), std::string::npos);
  }
  {
    const LoopbackServer server(HttpReply("MRVDOWNLOADSITEKEY=http://127.0.0.1/a.exe\r\n"));
    EXPECT_TRUE(agent.QueryDownloadSite(SITE_URL));
  }
  // None of these changes the version or the site; only the no-download reply shows a box.
  for (const std::string& body :
       {std::string("no key today"), "MRVDOWNLOADSITEKEY=http://127.0.0.1/" + std::string(1010, 'b'),
        std::string("NO_AVAILABLE_DOWNLOADS\r\nMRVDOWNLOADSITEKEY=http://h/")}) {
    const LoopbackServer server(HttpReply(body));
    EXPECT_FALSE(agent.QueryLatestVersion(VERSION_URL)) << body;
    EXPECT_FALSE(agent.QueryDownloadSite(SITE_URL)) << body;
  }
  EXPECT_FALSE(agent.QueryLatestVersion(VERSION_URL)) << "nothing listens";
  EXPECT_FALSE(agent.QueryDownloadSite(SITE_URL)) << "nothing listens";
  EXPECT_EQ(std::vector<int>(agent.m_pLatestVersion, agent.m_pLatestVersion + 5), (std::vector<int>{2, 0, 1, 0, 4}));
  EXPECT_STREQ(agent.GetDownloadSite(), "http://127.0.0.1/a.exe");
  EXPECT_EQ(session.display.messageBoxes.size(), 1u);
}
