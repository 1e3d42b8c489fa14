// The web host's addresses: the demo web tree holds every page of them, and
// an unsafe host from the environment is not used. The demo's update itself
// is walked through end to end by the every-button test.
#include <algorithm>
#include <cstdlib>

#include "TestPrefix.h"
#include "update/WebHost.h"

namespace {

const std::filesystem::path DEMO = MORAVINE_DEMO_DIR;

// The file of the demo web tree that serves a URL; a folder serves its index.html.
std::filesystem::path DemoFile(const std::string& url) {
  const std::size_t path = url.starts_with("http://") ? url.find('/', 7) + 1 : 1;
  std::filesystem::path file = DEMO / "www" / url.substr(path);
  return std::filesystem::is_directory(file) ? file / "index.html" : file;
}

class DemoHost : public TestPrefix {
 protected:
  DemoHost() { setenv("MORAVINE_WEB_HOST", "127.0.0.1", 1); }
  ~DemoHost() override { unsetenv("MORAVINE_WEB_HOST"); }
};

}  // namespace

TEST_F(DemoHost, HasEveryPageOfTheWebHost) {
  EXPECT_EQ(NewsPageUrl(), "http://127.0.0.1/MRV/loader/SP/index.htm");
  for (const std::string& url :
       {VersionQueryUrl(), DownloadSiteQueryUrl(), NewsPageUrl(), SignUpPageUrl(), RecruitmentPageUrl()}) {
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
