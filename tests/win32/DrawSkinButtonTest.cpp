// A picture button's face drawn by the launcher equals its picture pixel
// for pixel, in the button's rectangle and nowhere else.
#include "base/ResourceIds.h"
#include "shell/DrawSkinButton.h"
#include "shell/LauncherConstants.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr int kCanvasWidth = 120;
constexpr int kCanvasHeight = 50;
constexpr int kFaceLeft = 13;
constexpr int kFaceTop = 9;
// What the canvas holds where nothing is drawn: no picture's colour.
constexpr std::uint32_t kUntouched = 0xFF123456;

// A picture as the resources store it: 24-bit rows, bottom to top.
class StoredPicture {
 public:
  explicit StoredPicture(int id) {
    HRSRC found = FindResourceA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = found != nullptr ? LoadResource(AfxGetInstanceHandle(), found) : nullptr;
    header_ = loaded != nullptr ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
  }
  bool IsTrueColour() const {
    return header_ != nullptr && header_->biBitCount == 24 && header_->biCompression == BI_RGB;
  }
  int Width() const { return header_->biWidth; }
  int Height() const { return header_->biHeight; }
  // 0x00RRGGBB, as a 32-bit DIB holds it.
  std::uint32_t At(int x, int y) const {
    const int stride = (Width() * 3 + 3) / 4 * 4;
    const auto* rows = reinterpret_cast<const std::uint8_t*>(header_) + header_->biSize;
    const std::uint8_t* pixel = rows + static_cast<std::ptrdiff_t>(Height() - 1 - y) * stride + x * 3;
    return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
  }

 private:
  const BITMAPINFOHEADER* header_ = nullptr;
};

// A 32-bit top-down DIB in a memory DC, cleared to kUntouched.
class Canvas {
 public:
  Canvas() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kCanvasWidth;
    info.bmiHeader.biHeight = -kCanvasHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < kCanvasWidth * kCanvasHeight; ++i) pixels_[i] = kUntouched;
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Made() const { return pixels_ != nullptr; }
  HDC Dc() const { return dc_; }
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return pixels_[y * kCanvasWidth + x];
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
};

// The first pixel where the canvas differs from the face drawn at the
// button's place (0 for none: nothing drawn), as "x,y"; empty when none.
std::string FirstDifference(const Canvas& canvas, int faceId) {
  const StoredPicture face(faceId);
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      const int fx = x - kFaceLeft;
      const int fy = y - kFaceTop;
      const bool inside = faceId != 0 && fx >= 0 && fx < kButtonWidth && fy >= 0 && fy < kButtonHeight;
      const std::uint32_t expected = inside ? face.At(fx, fy) : kUntouched;
      if ((canvas.At(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF)) return std::to_string(x) + "," + std::to_string(y);
    }
  }
  return "";
}

}  // namespace

TEST(DrawSkinButton, DrawsTheFaceOfTheButtonsStatePixelForPixel) {
  // Four distinct faces, so a state drawn with another's face shows.
  constexpr int kNormal = 55, kHover = 56, kPressed = 57, kDisabled = 58;
  for (const int id : {kNormal, kHover, kPressed, kDisabled}) {
    const StoredPicture face(id);
    ASSERT_TRUE(face.IsTrueColour()) << id;
    ASSERT_EQ(face.Width(), kButtonWidth);
    ASSERT_EQ(face.Height(), kButtonHeight);
  }
  const struct {
    int state;
    int face;  // 0: nothing drawn
  } cases[] = {
      {SBS_NORMAL, kNormal}, {SBS_HOVER, kHover}, {SBS_PRESSED, kPressed}, {SBS_DISABLED, kDisabled}, {7, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    Canvas canvas;
    ASSERT_TRUE(canvas.Made());
    SkinButton button(nullptr, kFaceLeft, kFaceTop, kButtonWidth, kButtonHeight, ID_PLAY, kNormal, kHover, kPressed,
                      kDisabled);
    button.m_nState = c.state;
    DrawSkinButton(canvas.Dc(), AfxGetInstanceHandle(), &button);
    EXPECT_EQ(FirstDifference(canvas, c.face), "");
  }
}

TEST(DrawSkinButton, AFaceMissingFromTheResourcesDrawsNothing) {
  Canvas canvas;
  ASSERT_TRUE(canvas.Made());
  constexpr int kMissing = 99;
  SkinButton button(nullptr, kFaceLeft, kFaceTop, kButtonWidth, kButtonHeight, ID_PLAY, kMissing, kMissing, kMissing,
                    kMissing);
  DrawSkinButton(canvas.Dc(), AfxGetInstanceHandle(), &button);
  EXPECT_EQ(FirstDifference(canvas, 0), "");
}
