#include "framework/LineInk.h"

#include "framework/Region.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kColours = 0x00FFFFFFu;

// One colour of a background pixel darkened by the share that shows through.
std::uint32_t Darken(std::uint32_t background, std::uint32_t through, int shift) {
  const std::uint32_t b = (background >> shift) & 0xFFu;
  return ((b * through + 127u) / 255u) << shift;
}

}  // namespace

LineInk::LineInk(PangoLayout* layout) {
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout, &ink, &logical_);
  area_ = RECT{std::min(ink.x, logical_.x), std::min(ink.y, logical_.y),
               std::max(ink.x + ink.width, logical_.x + logical_.width),
               std::max(ink.y + ink.height, logical_.y + logical_.height)};
  coverage_.assign(static_cast<std::size_t>(area_.Width()) * static_cast<std::size_t>(area_.Height()), 0);
  if (coverage_.empty()) {
    return;
  }
  FT_Bitmap bitmap{};
  bitmap.rows = static_cast<unsigned>(area_.Height());
  bitmap.width = static_cast<unsigned>(area_.Width());
  bitmap.pitch = area_.Width();
  bitmap.buffer = coverage_.data();
  bitmap.num_grays = 256;
  bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
  pango_ft2_render_layout(&bitmap, layout, -area_.left, -area_.top);
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
    const std::uint8_t* covered =
        coverage_.data() + static_cast<std::size_t>(row - placed.top) * static_cast<std::size_t>(area_.Width());
    for (int column = limit.left; column < limit.right; ++column) {
      const std::uint32_t c = covered[column - placed.left];
      if (c == 0) {
        out[column] &= kColours;
        continue;
      }
      const std::uint32_t through = 0xFFu - c;
      const std::uint32_t b = out[column];
      out[column] = Darken(b, through, 16) | Darken(b, through, 8) | Darken(b, through, 0);
    }
  }
}
