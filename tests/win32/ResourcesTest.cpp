// The resources compiled into the Windows program by windres: every picture
// with its size, the string table in Big5 under code page 950, the built-in
// page. The test program runs in the zh_TW.UTF-8 locale, which gives Wine
// the code page of Traditional Chinese Windows.
#include "base/ResourceIds.h"
#include "framework/Gdi.h"
#include "framework/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kBig5CodePage = 950;

}  // namespace

TEST(Resources, EveryPictureLoadsWithItsSize) {
  const struct {
    int first;
    int last;
    LONG width;
    LONG height;
  } pictures[] = {
      {IDB_BACKGROUND, IDB_BACKGROUND, 640, 480}, {52, 72, 89, 30},  // the buttons' faces
  };
  for (const auto& range : pictures) {
    for (int id = range.first; id <= range.last; ++id) {
      SCOPED_TRACE(id);
      HBITMAP picture = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(id));
      ASSERT_NE(picture, nullptr);
      BITMAP size{};
      ASSERT_EQ(GetObject(picture, sizeof size, &size), static_cast<int>(sizeof size));
      EXPECT_EQ(size.bmWidth, range.width);
      EXPECT_EQ(size.bmHeight, range.height);
      DeleteObject(picture);
    }
  }
}

TEST(Resources, TheStringTableComesOutInBig5) {
  ASSERT_EQ(GetACP(), kBig5CodePage) << "run under LC_ALL=zh_TW.UTF-8";
  const struct {
    UINT id;
    const char* text;
  } strings[] = {
      {IDS_TITLE, "Moravine"},
      {IDS_VERSION_PREFIX, "\xAA\xA9\xA5\xBB\xA1G"},  // 版本：
      {IDS_PROGRESS_PREFIX,
       "\xA5\xD8\xAB"
       "e\xA4w\xA4U\xB8\xFC\xA1G"},  // 目前已下載：
      {IDS_PLAY_FAILED,
       "\xB0\xF5\xA6\xE6Moravine\xA5\xA2\xB1\xD1\xA1"
       "C"},                                                           // 執行Moravine失敗。
      {IDS_CAPTION_GOOD_NEWS, "\xB6K\xA4\xDF\xA4p\xB0T\xAE\xA7 ^O^"},  // 貼心小訊息 ^O^
      {AFX_IDP_INTERNAL_FAILURE,
       "\xA4\xBA\xB3\xA1\xC0\xB3\xA5\xCE\xB5{\xA6\xA1\xBF\xF9\xBB~\xA1"
       "C"},
      {99, ""},  // no such string
  };
  for (const auto& expected : strings) {
    SCOPED_TRACE(expected.id);
    char text[256];
    const int length = LoadStringA(AfxGetInstanceHandle(), expected.id, text, sizeof text);
    ASSERT_EQ(length, static_cast<int>(std::string(expected.text).size()));
    EXPECT_EQ(std::string(text, static_cast<std::size_t>(length)), expected.text);
  }
}

TEST(Resources, TheBuiltInPageIsThere) {
  const std::optional<std::string> page = LoadHtmlResource(AfxGetInstanceHandle(), IDR_HTML_BLANK);
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ(page->rfind("<html>\r\n", 0), 0u);
  EXPECT_NE(page->find("charset=big5"), std::string::npos);
  EXPECT_EQ(LoadHtmlResource(AfxGetInstanceHandle(), IDR_HTML_BLANK + 1), std::nullopt);
}
