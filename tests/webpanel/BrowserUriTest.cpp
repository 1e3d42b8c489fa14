// Linux's browser addresses: absolute paths become escaped file URIs.
#include "platform/ui/BrowserAddress.h"

#include <gtest/gtest.h>

namespace {

using platform::BrowserUri;

TEST(BrowserUri, AbsolutePathsBecomeEscapedFileUrisAndOtherAddressesStay) {
  EXPECT_EQ(BrowserUri("/games/Moravine/default.htm"), "file:///games/Moravine/default.htm");
  EXPECT_EQ(BrowserUri("/home/player/My Games/default.htm"), "file:///home/player/My%20Games/default.htm");
  EXPECT_EQ(BrowserUri("/遊戲/default.htm"), "file:///%E9%81%8A%E6%88%B2/default.htm");
  EXPECT_EQ(BrowserUri("/a#b?c%d/default.htm"), "file:///a%23b%3Fc%25d/default.htm")
      << "characters that mean something in a URI are escaped";
  EXPECT_EQ(BrowserUri("//default.htm"), "file:///default.htm") << "the current directory was /";
  EXPECT_EQ(BrowserUri("http://127.0.0.1/MRV/loader/SP/index.htm"), "http://127.0.0.1/MRV/loader/SP/index.htm");
  EXPECT_EQ(BrowserUri("default.htm"), "default.htm") << "a bare name is left to the browser";
}

}  // namespace
