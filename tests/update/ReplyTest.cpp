// What the update server's replies are read as.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "update/ReplyText.h"
#include "update/VersionText.h"

namespace {

using Components = std::array<int, VERSION_COMPONENTS>;
constexpr Components UNTOUCHED{-1, -1, -1, -1, -1};

}  // namespace

TEST(ReplyText, TheFirstVersionKeyAnywhereCounts) {
  const struct {
    const char* reply;
    bool found;
    Components version;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\n\r\nMRVVERSION2.0.1.0.4", true, {2, 0, 1, 0, 4}},
      {"MRVVERSION2.0.1.0.4\nMRVVERSION3.1.9.9.9", true, {2, 0, 1, 0, 4}},
      {"HTTP/1.1 404 Not Found\r\nX-Note: MRVVERSION1.1.1.1.1\r\n\r\nMRVVERSION2.0.1.0.4", true, {1, 1, 1, 1, 1}},
      {"HTTP/1.1 200 OK\r\n\r\nMRVVERSION", true, {0, 0, 0, 0, 0}},
      {"MRVVERSION2.0.1", true, {2, 0, 1, 0, 0}},
      {"HTTP/1.1 200 OK\r\n\r\n2.0.1.0.4", false, UNTOUCHED},
      {"mrvversion2.0.1.0.4", false, UNTOUCHED},
  };
  for (const auto& c : cases) {
    Components version = UNTOUCHED;
    EXPECT_EQ(ReadVersionReply(c.reply, version.data()), c.found) << c.reply;
    EXPECT_EQ(version, c.version) << c.reply;
  }
}

TEST(ReplyText, TheSiteRunsFromItsKeyToTheLineEndUnlessNoDownloadsIsSaid) {
  const std::string fits(1023, 'a');
  const struct {
    std::string reply;
    SiteReply kind;
    std::string site;
  } cases[] = {
      {"MRVDOWNLOADSITEKEY=http://127.0.0.1/patch/MRVPatch.exe", SiteReply::SITE,
       "http://127.0.0.1/patch/MRVPatch.exe"},
      {"HTTP/1.1 200 OK\r\n\r\nMRVDOWNLOADSITEKEY=http://h/p.exe\r\n", SiteReply::SITE, "http://h/p.exe"},
      {"MRVDOWNLOADSITEKEY=http://host/patch/MRVPatch.exe\r\n0\r\n\r\n", SiteReply::SITE,
       "http://host/patch/MRVPatch.exe"},
      {"MRVDOWNLOADSITEKEY= http://h/p q.exe \nhttp://other/", SiteReply::SITE, " http://h/p q.exe "},
      {"MRVDOWNLOADSITEKEY=http://h/p.exe\rhttp://other/", SiteReply::SITE, "http://h/p.exe"},
      {"MRVDOWNLOADSITEKEY=\r\nhttp://h/p.exe", SiteReply::SITE, ""},
      {"MRVDOWNLOADSITEKEY=" + fits + "\r\n" + fits, SiteReply::SITE, fits},
      {"MRVDOWNLOADSITEKEY=http://a/ MRVDOWNLOADSITEKEY=http://b/", SiteReply::SITE,
       "http://a/ MRVDOWNLOADSITEKEY=http://b/"},
      {"MRVDOWNLOADSITEKEY=", SiteReply::SITE, ""},
      {"MRVDOWNLOADSITEKEY=" + fits, SiteReply::SITE, fits},
      // The cases below leave the earlier site.
      {"MRVDOWNLOADSITEKEY=" + fits + "b", SiteReply::SITE_TOO_LONG, "earlier"},
      {"NO_AVAILABLE_DOWNLOADS", SiteReply::NO_DOWNLOADS, "earlier"},
      {"MRVDOWNLOADSITEKEY=http://h/p.exe\nNO_AVAILABLE_DOWNLOADS", SiteReply::NO_DOWNLOADS, "earlier"},
      {"HTTP/1.1 200 OK\r\n\r\nhttp://h/p.exe", SiteReply::NO_SITE_KEY, "earlier"},
  };
  for (const auto& c : cases) {
    char site[1024] = "earlier";
    EXPECT_EQ(ReadSiteReply(c.reply.c_str(), site, sizeof site), c.kind) << c.reply;
    EXPECT_EQ(site, c.site) << c.reply;
  }
}
