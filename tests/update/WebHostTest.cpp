// The web host's name: an unsafe one from the environment is not used. The
// demo's update, every page of the host included, is walked through end to
// end by the every-button test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "update/WebHost.h"

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
