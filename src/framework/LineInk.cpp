#include "framework/LineInk.h"

#include "framework/Region.h"

#include <algorithm>
#include <cstdint>
#include <memory>

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
  std::fill(shade_.Data(), shade_.Data() + static_cast<std::size_t>(shade_.Width()) * shade_.Height(), kWhite);
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> target(
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(shade_.Data()), CAIRO_FORMAT_RGB24,
                                          shade_.Width(), shade_.Height(), shade_.Width() * 4),
      &cairo_surface_destroy);
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cairo(cairo_create(target.get()), &cairo_destroy);
  cairo_set_source_rgb(cairo.get(), 0, 0, 0);
  cairo_move_to(cairo.get(), -area_.left, -area_.top);
  pango_cairo_show_layout(cairo.get(), layout);
  cairo_surface_flush(target.get());
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
