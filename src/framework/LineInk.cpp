#include "framework/LineInk.h"

#include "framework/Region.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFFu;

// One colour of a background pixel darkened by the share that shows through.
std::uint32_t Darken(std::uint32_t background, std::uint32_t through, int shift) {
  const std::uint32_t b = (background >> shift) & 0xFFu;
  const std::uint32_t t = (through >> shift) & 0xFFu;
  return ((b * t + 127u) / 255u) << shift;
}

}  // namespace

LineInk::LineInk(PangoLayout* layout) {
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout, &ink, &logical_);
  area_ = RECT{std::min(ink.x, logical_.x), std::min(ink.y, logical_.y),
               std::max(ink.x + ink.width, logical_.x + logical_.width),
               std::max(ink.y + ink.height, logical_.y + logical_.height)};
  shade_.Resize(area_.Width(), area_.Height());
  if (shade_.Width() == 0 || shade_.Height() == 0) {
    return;
  }
  // The glyphs' coverage, one byte a pixel, then the share of white left.
  std::vector<unsigned char> coverage(static_cast<std::size_t>(shade_.Width()) * shade_.Height());
  FT_Bitmap bitmap{};
  bitmap.rows = static_cast<unsigned>(shade_.Height());
  bitmap.width = static_cast<unsigned>(shade_.Width());
  bitmap.pitch = shade_.Width();
  bitmap.buffer = coverage.data();
  bitmap.num_grays = 256;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  pango_ft2_render_layout(&bitmap, layout, -area_.left, -area_.top);
  for (int row = 0; row < shade_.Height(); ++row) {
    const unsigned char* covered = coverage.data() + static_cast<std::size_t>(row) * shade_.Width();
    std::uint32_t* through = shade_.Row(row);
    for (int column = 0; column < shade_.Width(); ++column) {
      const std::uint32_t left = 0xFFu - covered[column];
      through[column] = left << 16 | left << 8 | left;
    }
  }
}

void LineInk::DrawOn(platform::Surface& surface, int x, int y, const RECT& clip) const {
  // Where the layout's origin falls on the surface.
  const int originX = x - logical_.x;
  const int originY = y - logical_.y;
  const RECT placed{originX + area_.left, originY + area_.top, originX + area_.right, originY + area_.bottom};
  RECT limit;
  if (!IntersectRect(&limit, placed, clip) ||
      !IntersectRect(&limit, limit, RECT{0, 0, surface.Width(), surface.Height()})) {
    return;
  }
  for (int row = limit.top; row < limit.bottom; ++row) {
    std::uint32_t* out = surface.Row(row);
    const std::uint32_t* through = shade_.Row(row - placed.top);
    for (int column = limit.left; column < limit.right; ++column) {
      const std::uint32_t t = through[column - placed.left] & kWhite;
      if (t == kWhite) {
        out[column] &= kWhite;
        continue;
      }
      const std::uint32_t b = out[column];
      out[column] = Darken(b, t, 16) | Darken(b, t, 8) | Darken(b, t, 0);
    }
  }
}
