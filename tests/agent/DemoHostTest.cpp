// The demo host: the demo web tree served on the loopback interface and the
// demo prefix make the launcher find, and the patch install, the update.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/LoopbackServer.h"
#include "TestPrefix.h"
#include "update/UpdateAgent.h"
#include "update/WebHost.h"

namespace {

const std::filesystem::path DEMO = MORAVINE_DEMO_DIR;

// The file of the demo web tree that serves a URL; a folder serves its index.html.
std::filesystem::path DemoFile(const std::string& url) {
  const std::size_t path = url.starts_with("http://") ? url.find('/', 7) + 1 : 1;
  std::filesystem::path file = DEMO / "www" / url.substr(path);
  return std::filesystem::is_directory(file) ? file / "index.html" : file;
}

// Serves the demo web tree as a plain static server does.
std::string ServeDemo(const std::string& request) {
  const std::filesystem::path file = DemoFile(RequestPath(request));
  if (!std::filesystem::is_regular_file(file)) {
    return "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
  }
  std::ostringstream body;
  body << std::ifstream(file, std::ios::binary).rdbuf();
  return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.str().size()) + "\r\n\r\n" +
         body.str();
}

class DemoHost : public TestPrefix {
 protected:
  DemoHost() { setenv("MORAVINE_WEB_HOST", "127.0.0.1", 1); }
  ~DemoHost() override { unsetenv("MORAVINE_WEB_HOST"); }
};

using DemoHostOverLoopback = DemoHost;

}  // namespace

TEST_F(DemoHost, HasEveryPageOfTheWebHost) {
  EXPECT_EQ(NewsPageUrl(), "http://127.0.0.1/MRV/loader/SP/index.htm");
  for (const std::string& url : {VersionQueryUrl(), DownloadSiteQueryUrl(), NewsPageUrl(),
                                 SignUpPageUrl(), RecruitmentPageUrl()}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(DemoFile(url))) << url;
  }
}

TEST(WebHostTest, AnUnsafeOrMalformedHostIsIgnoredWithOneLineOnStandardError) {
  unsetenv("MORAVINE_WEB_HOST");
  const std::string builtIn = WebHostName();
  for (const char* bad : {"", "127.0.0.1:8080", "127.0.0.1/evil", "127.0.0.1 x", "host\r\nX: 1", "a\tb"}) {
    setenv("MORAVINE_WEB_HOST", bad, 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(WebHostName(), builtIn) << bad;
    EXPECT_EQ(VersionQueryUrl(), "http://" + builtIn + "/latest_version/mrv/2.0.x.x.x/version.php");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("MORAVINE_WEB_HOST"), std::string::npos) << said;
  }
  setenv("MORAVINE_WEB_HOST", "updates.example-host.net", 1);
  EXPECT_EQ(WebHostName(), "updates.example-host.net");
  unsetenv("MORAVINE_WEB_HOST");
}

TEST_F(DemoHostOverLoopback, OffersThePatchThatInstallsTheNewVersion) {
  std::filesystem::copy_file(DEMO / "prefix" / "system.reg", RegistryPath());
  const LoopbackServer server(ServeDemo);
  UpdateAgent agent;
  agent.ReadInstalledVersion();
  EXPECT_STREQ(agent.m_szInstalledVersion, "2.0.1.0.3");
  ASSERT_TRUE(agent.QueryLatestVersion(VersionQueryUrl().c_str()));
  EXPECT_EQ(std::vector<int>(agent.m_pLatestVersion, agent.m_pLatestVersion + 5),
            (std::vector<int>{2, 0, 1, 0, 4}));
  EXPECT_TRUE(agent.IsUpdateAvailable());
  ASSERT_TRUE(agent.QueryDownloadSite(DownloadSiteQueryUrl().c_str()));
  EXPECT_STREQ(agent.GetDownloadSite(), "http://127.0.0.1/patch/MRVPatch.exe");
  const std::filesystem::path patch = DemoFile(agent.GetDownloadSite());

  // The patch raises the prefix's version; the next read sees it.
  const int status = std::system(("'" + patch.string() + "' > /dev/null").c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  agent.ReadInstalledVersion();
  EXPECT_STREQ(agent.m_szInstalledVersion, "2.0.1.0.4");
  EXPECT_FALSE(agent.IsUpdateAvailable());
}
