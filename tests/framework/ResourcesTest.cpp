// The compiled-in resources: loads of a picture share its pixels until one is
// drawn into, and the string table comes out in the locale's narrow encoding.
#include "base/NarrowText.h"
#include "framework/DrawText.h"
#include "framework/GdiObjects.h"
#include "framework/Resources.h"
#include "support/Locale.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Load(UINT id, int size = 256) {
  std::vector<char> buffer(static_cast<std::size_t>(size));
  const int n = LoadString(AfxGetInstanceHandle(), id, buffer.data(), size);
  EXPECT_EQ(n, static_cast<int>(std::strlen(buffer.data())));
  return buffer.data();
}

TEST(Resources, LoadsOfOnePictureShareItUntilOneIsDrawnInto) {
  HBITMAP first = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(51));
  ASSERT_NE(first, nullptr);
  const platform::Surface original = testsupport::Picture(51);
  DeleteObject(first);
  HBITMAP again = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(51));
  HBITMAP other = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(51));
  ASSERT_NE(again, nullptr);
  ASSERT_NE(again->runs, nullptr) << "the background, drawn art, is kept as runs";
  EXPECT_EQ(again->runs.get(), other->runs.get()) << "decoded once, shared";
  DeleteObject(other);

  // Drawing into one bitmap leaves the picture of every other load alone.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, again);
  RECT line{0, 0, 200, 40};
  DrawTextA(dc, "Moravine", -1, &line, DT_LEFT);
  SelectObject(dc, old);
  DeleteDC(dc);
  HBITMAP fresh = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(51));
  EXPECT_FALSE(testsupport::Differences(OwnPixels(*again), OwnPixels(*fresh)).IsEmpty());
  EXPECT_TRUE(testsupport::Differences(OwnPixels(*fresh), original).IsEmpty());
  DeleteObject(again);
  DeleteObject(fresh);
}

TEST(Resources, StringsAreUtf8InTheCLocaleAndBig5InABig5LocaleWhereSearchesStepOverWholeCharacters) {
  EXPECT_EQ(Load(5), "版本：");
  EXPECT_EQ(Load(99), "");
  LocaleScope big5("zh_TW.BIG5");
  ASSERT_TRUE(big5.ok()) << kNoBig5;
  EXPECT_EQ(Load(5), "\xAA\xA9\xA5\xBB\xA1\x47");
  EXPECT_EQ(Load(6), "\xA5\xD8\xAB\x65\xA4\x77\xA4\x55\xB8\xFC\xA1\x47");
  // Cut to the buffer, but never in the middle of a character.
  EXPECT_EQ(Load(5, 4), "\xAA\xA9");
  EXPECT_EQ(Utf8FromLocale(Load(7)), "執行Moravine失敗。");

  // 許 is A5 5C in Big5: its trail byte is a backslash, which must not be found.
  const std::string text = std::string("\xA5\x5C") + "a\\b";
  EXPECT_EQ(MbsChr(text.c_str(), '\\'), text.c_str() + 3);
  // A4 4D is one character whose trail byte is "M": no key starts inside it.
  const std::string cut = std::string("\xA4") + "MRV";
  const std::string whole = std::string("\xA4") + "MMRV";
  EXPECT_EQ(MbsStr(cut.c_str(), "MRV"), nullptr);
  EXPECT_EQ(MbsStr(whole.c_str(), "MRV"), whole.c_str() + 2);
}

}  // namespace
