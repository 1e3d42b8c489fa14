// The addresses the browser is given: local paths become file URIs, the res
// scheme names only this program's built-in pages, and a page may go to no
// local file but the one it was asked to show.
#include "platform/ui/BrowserAddress.h"

#include <gtest/gtest.h>

namespace {

using platform::BrowserUri;
using platform::MayVisit;
using platform::ResourcePageId;

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

TEST(ResourcePageId, NamesOnlyTheProgramsOwnFileAndACanonicalNumber) {
  const std::string program = "/opt/My Games/遊戲/moravine-launcher";
  EXPECT_EQ(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher/101", program), 101u);
  EXPECT_EQ(ResourcePageId("res:///opt/My%20Games/%E9%81%8A%E6%88%B2/moravine-launcher/101", program), 101u)
      << "as the engine escapes it";
  EXPECT_EQ(ResourcePageId("RES:///opt/My Games/遊戲/moravine-launcher/7", program), 7u);

  EXPECT_FALSE(ResourcePageId("res:///etc/passwd/101", program));
  EXPECT_FALSE(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher.so/101", program));
  EXPECT_FALSE(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher/0101", program));
  EXPECT_FALSE(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher/101x", program));
  EXPECT_FALSE(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher/65536", program));
  EXPECT_FALSE(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher/101?x=1", program));
  EXPECT_FALSE(ResourcePageId("res:///opt/My Games/遊戲/moravine-launcher%00/101", program));
  EXPECT_FALSE(ResourcePageId("file:///opt/My Games/遊戲/moravine-launcher/101", program));
  EXPECT_FALSE(ResourcePageId("res:///101", "")) << "no program path, no page";
}

TEST(MayVisit, LocalFilesOnlyWhenAskedForOtherAddressesAlways) {
  const std::string asked = "file:///games/My%20Games/default.htm";
  EXPECT_TRUE(MayVisit(asked, asked));
  EXPECT_TRUE(MayVisit("file:///games/My Games/default.htm", asked)) << "escaped differently, the same file";
  EXPECT_FALSE(MayVisit("file:///etc/passwd", asked));
  EXPECT_FALSE(MayVisit("file:///games/My%20Games/default.htm", "http://127.0.0.1/"));
  EXPECT_TRUE(MayVisit("http://127.0.0.1/modules/job/", asked));
  EXPECT_TRUE(MayVisit("res:///opt/moravine-launcher/101", asked));
}

}  // namespace
