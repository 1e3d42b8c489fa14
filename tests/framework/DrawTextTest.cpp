// Text drawing: the pixels of a line, where the lines go and what clips them,
// the mnemonic ampersand, the system font's coverage and glyph forms of the
// launcher's Chinese, and texts that do not convert.
#include "framework/DrawText.h"
#include "framework/GdiObjects.h"
#include "framework/SystemFont.h"
#include "framework/TextLines.h"
#include "support/Headless.h"
#include "support/Locale.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Not a grey, so that no shade of black text over white can equal it.
constexpr std::uint32_t kGround = 0x4080C0;

// A memory context holding a 200 by 60 picture of its own, in the ground colour.
class Canvas {
 public:
  Canvas()
      : bitmap_(new GdiBitmap{std::make_shared<platform::Surface>(200, 60), nullptr}),
        dc_(CreateCompatibleDC(nullptr)) {
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 200; ++x) {
        bitmap_->pixels->Row(y)[x] = kGround;
      }
    }
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  const platform::Surface& pixels() const { return *bitmap_->pixels; }
  void Paint(const platform::Surface& picture) { *bitmap_->pixels = picture; }

  int Draw(const std::string& text, RECT rect, UINT format = DT_LEFT) {
    return DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format);
  }

  RECT Ink() const { return testsupport::Ink(pixels(), kGround); }
  bool SamePixels(const Canvas& other) const { return testsupport::Differences(pixels(), other.pixels()).IsEmpty(); }

 private:
  HBITMAP bitmap_;
  HDC dc_;
  HBITMAP old_;
};

const RECT kTall{10, 5, 190, 55};

TEST(TextLines, BreakOnlyAtLineEndsAndReadAmpersandsAsPrefixes) {
  const auto lines = SplitTextLines("a b\r\nc\rd\ne&");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, "a b");
  EXPECT_EQ(lines[1].text, "c");
  EXPECT_EQ(lines[2].text, "d");
  EXPECT_EQ(lines[3].text, "e") << "a last ampersand shows nothing";

  const auto marked = SplitTextLines("x&&y&版z&\nw");
  ASSERT_EQ(marked.size(), 2u);
  EXPECT_EQ(marked[0].text, "x&y版z");
  ASSERT_EQ(marked[0].underlined.size(), 1u);
  EXPECT_EQ(marked[0].underlined[0], (std::pair<std::size_t, std::size_t>{3, 6})) << "the whole character";
  EXPECT_EQ(marked[1].text, "w");
}

// The largest difference of one colour between two pixels.
int ColourDistance(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (const int shift : {0, 8, 16}) {
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return most;
}

TEST(DrawText, AKeptLineGivesThePixelsOfItsGlyphsDrawnOverAnyBackground) {
  const std::string text = "版本：2.0.1.0.3";
  Canvas first;
  Canvas again;
  // A background whose every colour varies, so that a misplaced or wrongly
  // blended letter shows.
  platform::Surface ground(200, 60);
  for (int y = 0; y < ground.Height(); ++y) {
    for (int x = 0; x < ground.Width(); ++x) {
      ground.Row(y)[x] = static_cast<std::uint32_t>((x * 5 % 256) << 16 | (y * 9 % 256) << 8 | ((x + y) * 3 % 256));
    }
  }
  first.Paint(ground);
  again.Paint(ground);
  platform::Surface expected = ground;

  // The glyphs' coverage drawn in place by FreeType, each colour of the
  // ground then darkened by it.
  const auto layout = SystemFont::Current().NewLayout(text);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
  std::vector<unsigned char> coverage(static_cast<std::size_t>(kTall.Width()) * kTall.Height());
  FT_Bitmap bitmap{};
  bitmap.rows = static_cast<unsigned>(kTall.Height());
  bitmap.width = static_cast<unsigned>(kTall.Width());
  bitmap.pitch = kTall.Width();
  bitmap.buffer = coverage.data();
  bitmap.num_grays = 256;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  pango_ft2_render_layout(&bitmap, layout.get(), -logical.x, -logical.y);
  for (int y = 0; y < kTall.Height(); ++y) {
    for (int x = 0; x < kTall.Width(); ++x) {
      const std::uint32_t left = 255u - coverage[static_cast<std::size_t>(y) * kTall.Width() + x];
      std::uint32_t& pixel = expected.Row(kTall.top + y)[kTall.left + x];
      std::uint32_t darkened = 0;
      for (const int shift : {0, 8, 16}) {
        darkened |= (((pixel >> shift) & 0xFFu) * left / 255u) << shift;
      }
      pixel = darkened;
    }
  }

  SetBkMode(first.dc(), TRANSPARENT);
  SetBkMode(again.dc(), TRANSPARENT);
  first.Draw(text, kTall);
  again.Draw(text, kTall);
  int most = 0;
  for (int y = 0; y < ground.Height(); ++y) {
    for (int x = 0; x < ground.Width(); ++x) {
      most = std::max(most, ColourDistance(first.pixels().Pixel(x, y), expected.Pixel(x, y)));
    }
  }
  EXPECT_LE(most, 1) << "beyond rounding from the glyphs drawn in place";
  EXPECT_TRUE(first.SamePixels(again)) << "the kept line drew differently";
  EXPECT_FALSE(testsupport::Differences(first.pixels(), ground).IsEmpty());
}

TEST(DrawText, TextIsClippedToTheRectangle) {
  Canvas one;
  const int lineHeight = one.Draw("版本", kTall);
  Canvas two;
  SetBkMode(two.dc(), TRANSPARENT);
  // A rectangle that ends inside the second line cuts it there, and a narrow
  // one cuts the lines at its right edge.
  const RECT small{kTall.left, kTall.top, kTall.left + 12, kTall.top + lineHeight + 6};
  two.Draw("版本\n版本", small);
  const RECT ink = two.Ink();
  EXPECT_EQ(ink.bottom, small.bottom);
  EXPECT_LE(ink.right, small.right);
  EXPECT_GE(ink.left, small.left);
}

// The glyphs of a one-line layout, in order.
std::vector<PangoGlyph> Glyphs(PangoLayout* layout) {
  std::vector<PangoGlyph> glyphs;
  PangoLayoutIter* it = pango_layout_get_iter(layout);
  do {
    if (const PangoGlyphItem* run = pango_layout_iter_get_run_readonly(it)) {
      for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
        glyphs.push_back(run->glyphs->glyphs[i].glyph);
      }
    }
  } while (pango_layout_iter_next_run(it));
  pango_layout_iter_free(it);
  return glyphs;
}

std::vector<PangoGlyph> GlyphsAs(const char* text, const char* language) {
  const auto layout = SystemFont::Current().NewLayout(text);
  PangoAttrList* list = pango_attr_list_new();
  pango_attr_list_insert(list, pango_attr_language_new(pango_language_from_string(language)));
  pango_layout_set_attributes(layout.get(), list);
  pango_attr_list_unref(list);
  return Glyphs(layout.get());
}

TEST(DrawText, TheSystemFontCoversTheTextsInTraditionalChineseFormsEvenInAJapaneseDesktopFont) {
  for (const char* text : {"版本：2.0.1.0.3", "目前已下載：100 %"}) {
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(SystemFont::Current().NewLayout(text).get()), 0) << text;
  }
  // A Japanese desktop's font holds the Chinese characters too, in Japanese forms.
  testsupport::HeadlessSession session;
  session.display.uiFont.name = "Noto Sans CJK JP 10";
  const char* text = "版本：目前已下載：";
  const auto layout = SystemFont::Current().NewLayout(text);
  EXPECT_EQ(Glyphs(layout.get()), GlyphsAs(text, "zh-tw"));
  EXPECT_NE(Glyphs(layout.get()), GlyphsAs(text, "zh-cn")) << "Simplified Chinese forms differ, so this can tell";
  EXPECT_NE(Glyphs(layout.get()), GlyphsAs(text, "ja"));
}

TEST(DrawText, BytesThatDoNotConvertEndTheText) {
  Canvas prefix;
  Canvas utf8;
  prefix.Draw("版本：2.0", kTall);
  utf8.Draw("版本：2.0\xFF.1", kTall);
  EXPECT_TRUE(utf8.SamePixels(prefix)) << "an invalid byte";
  Canvas big5;
  {
    LocaleScope big5Locale("zh_TW.BIG5");
    ASSERT_TRUE(big5Locale.ok()) << kNoBig5;
    big5.Draw(std::string("\xAA\xA9\xA5\xBB\xA1\x47") + "2.0\xA1", kTall);
  }
  EXPECT_TRUE(big5.SamePixels(prefix)) << "a Big5 character cut off";
}

}  // namespace
