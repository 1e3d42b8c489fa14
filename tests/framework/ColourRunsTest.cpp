// Pictures kept as runs of one colour: read back whole and by stretches, in
// BitBlt as the pixels they stand for, and refused when they save nothing.
#include "framework/BmpDecoder.h"
#include "framework/ColourRuns.h"
#include "framework/GdiObjects.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

platform::Surface Striped(int width, int height, int stripe) {
  platform::Surface s(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      s.Row(y)[x] = static_cast<std::uint32_t>((x / stripe + y) % 3) * 0x404040u;
    }
  }
  return s;
}

platform::Surface Background() {
  std::ifstream file(MORAVINE_SOURCE_DIR "/res/bitmaps/51.bmp", std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  return DecodeBmp24(bytes).value_or(platform::Surface{});
}

TEST(ColourRuns, ReadBackWholeAndByAnyStretchTheyGiveThePicture) {
  const struct {
    const char* name;
    platform::Surface picture;
  } cases[] = {
      {"one colour, runs cut at their longest", Striped(700, 3, 700)},
      {"stripes of 7", Striped(90, 20, 7)},
      {"one row", Striped(300, 1, 300)},
      {"the background", Background()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(c.picture.Width(), 0);
    const auto runs = ColourRuns::Of(c.picture);
    ASSERT_TRUE(runs.has_value());
    EXPECT_TRUE(testsupport::Differences(runs->Pixels(), c.picture).IsEmpty());
    const int w = c.picture.Width();
    for (const auto& [x, count] : {std::pair{0, w}, {w - 1, 1}, {w / 3, w / 2}, {w / 2, 0}, {255 % w, 2 % (w + 1)}}) {
      for (const int y : {0, c.picture.Height() - 1}) {
        std::vector<std::uint32_t> out(static_cast<std::size_t>(count) + 1, 0xABCDEFu);
        runs->CopyRow(y, x, count, out.data());
        EXPECT_TRUE(std::equal(out.begin(), out.end() - 1, c.picture.Row(y) + x)) << x << "+" << count << " of " << y;
        EXPECT_EQ(out.back(), 0xABCDEFu) << "written past the stretch";
      }
    }
  }
}

TEST(ColourRuns, APictureWithoutFlatAreasStaysPixels) { EXPECT_FALSE(ColourRuns::Of(Striped(64, 64, 1)).has_value()); }

TEST(ColourRuns, BitBltFromRunsGivesWhatBitBltFromThePixelsGives) {
  const platform::Surface picture = Background();
  auto asRuns = std::make_unique<GdiBitmap>();
  asRuns->runs = std::make_shared<const ColourRuns>(*ColourRuns::Of(picture));
  auto asPixels = std::make_unique<GdiBitmap>();
  asPixels->pixels = std::make_shared<platform::Surface>(picture);
  platform::Surface drawn[2];
  GdiBitmap* sources[] = {asRuns.get(), asPixels.get()};
  for (int i = 0; i < 2; ++i) {
    GdiBitmap target{std::make_shared<platform::Surface>(300, 200), nullptr};
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HBITMAP oldFrom = SelectObject(from, sources[i]);
    HBITMAP oldTo = SelectObject(to, &target);
    // Blocks reaching past both pictures' edges, at odd offsets.
    BitBlt(to, -5, 3, 120, 90, from, 600, 17, SRCCOPY);
    BitBlt(to, 130, 100, 400, 400, from, 7, 430, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    drawn[i] = *target.pixels;
  }
  EXPECT_TRUE(testsupport::Differences(drawn[0], drawn[1]).IsEmpty());
  EXPECT_FALSE(testsupport::Differences(drawn[0], platform::Surface(300, 200)).IsEmpty());
  EXPECT_NE(asRuns->runs, nullptr) << "reading runs leaves them runs";
}

}  // namespace
