// The addresses the browser is given, on both systems: the res scheme names
// only this program's built-in pages, a page may go to no local
// file but the one it was asked to show and that page's own, and new windows
// hand the desktop only web pages and mail addresses.
#include "platform/ui/BrowserAddress.h"

#include <gtest/gtest.h>

namespace {

using platform::MayVisit;
using platform::ResourcePageId;

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

TEST(MayVisit, LocalFilesOnlyThoseAskedForOrTheAskedPagesOwnOtherAddressesAlways) {
  const std::string asked = "file:///games/My%20Games/default.htm";
  const std::string web = "http://127.0.0.1/MRV/loader/SP/index.htm";
  const struct {
    const char* uri;
    std::string askedFor;
    std::string shown;
    bool may;
  } cases[] = {
      {"file:///games/My%20Games/default.htm", asked, "res:///opt/moravine-launcher/101", true},
      {"file:///games/My Games/default.htm", asked, "", true},  // escaped differently, the same file
      {"file:///games/My%20Games/default.htm#news", asked, "", true},
      // The asked page reaches the files in its folder and below it...
      {"file:///games/My%20Games/news.htm", asked, asked, true},
      {"file:///games/My%20Games/pages/%E6%96%B0.htm?x=1", asked, asked, true},
      {"file:///games/My%20Games/pages/b.htm", asked, "file:///games/My%20Games/pages/a.htm", true},
      // ... and nothing outside it, nor in folders of a similar name.
      {"file:///games/other.htm", asked, asked, false},
      {"file:///games/My%20Games%20Old/default.htm", asked, asked, false},
      {"file:///games/My%20Games/../secret.htm", asked, asked, false},
      {"file:///games/My%20Games/%2E%2E/secret.htm", asked, asked, false},
      {"file:///games/My%20Games/pages/./b.htm", asked, asked, false},
      {"file:///games/My%20Games/a%00b.htm", asked, asked, false},
      {"file://elsewhere/games/My%20Games/news.htm", asked, asked, false},
      {"file:///etc/passwd", asked, asked, false},
      // A page from elsewhere reaches no file of the folder but the asked page.
      {"file:///games/My%20Games/news.htm", asked, web, false},
      {"file:///games/My%20Games/news.htm", asked, "file:///tmp/default.htm", false},
      {"file:///games/My%20Games/news.htm", asked, "", false},
      // Asked for a page from the network: no local file at all.
      {"file:///games/My%20Games/default.htm", web, "file:///games/My%20Games/default.htm", false},
      {"file:///games/My%20Games/default.htm", "", "", false},
      {"http://127.0.0.1/modules/job/", asked, asked, true},
      {"res:///opt/moravine-launcher/101", asked, web, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MayVisit(c.uri, c.askedFor, c.shown), c.may) << c.uri << " asked " << c.askedFor << " shown " << c.shown;
  }
}

TEST(NewWindowPlaceOf, WebPagesAndMailGoToTheDesktopBlankPagesStayAndOtherAddressesNowhere) {
  using enum platform::NewWindowPlace;
  const struct {
    const char* uri;
    platform::NewWindowPlace place;
  } cases[] = {
      {"http://127.0.0.1/other.htm", kDesktopOrOwnWindow},
      {"HTTPS://www.moravine.example/", kDesktopOrOwnWindow},
      {"mailto:player@moravine.example", kDesktop},
      {"", kOwnWindow},
      {"about:blank", kOwnWindow},
      {"foo:bar", kNowhere},
      {"file:///games/Moravine/default.htm", kNowhere},
      {"res:///opt/moravine-launcher/101", kNowhere},
      {"javascript:alert(1)", kNowhere},
      {"about:config", kNowhere},
      {"httpx://127.0.0.1/", kNowhere},
      {"steam://run/1", kNowhere},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::NewWindowPlaceOf(c.uri), c.place) << c.uri;
  }
}

}  // namespace
