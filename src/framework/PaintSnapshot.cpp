#include "framework/PaintSnapshot.h"

#include "framework/Region.h"

#include <cstring>

void PaintSnapshot::Take(const platform::Surface& surface, const RECT& area) {
  pixels_.clear();
  if (!IntersectRect(&area_, area, RECT{0, 0, surface.Width(), surface.Height()})) {
    area_ = RECT{};
    return;
  }
  pixels_.reserve(static_cast<std::size_t>(area_.Width()) * static_cast<std::size_t>(area_.Height()));
  for (int y = area_.top; y < area_.bottom; ++y) {
    const std::uint32_t* row = surface.Row(y) + area_.left;
    pixels_.insert(pixels_.end(), row, row + area_.Width());
  }
}

bool PaintSnapshot::Changed(const platform::Surface& surface, const RECT& rect) const {
  RECT covered;
  if (!IntersectRect(&covered, rect, area_) || covered != rect) {
    return true;
  }
  const std::size_t width = static_cast<std::size_t>(rect.Width());
  for (int y = rect.top; y < rect.bottom; ++y) {
    const std::uint32_t* now = surface.Row(y) + rect.left;
    const std::uint32_t* before = pixels_.data() +
                                  static_cast<std::size_t>(y - area_.top) * static_cast<std::size_t>(area_.Width()) +
                                  static_cast<std::size_t>(rect.left - area_.left);
    if (std::memcmp(now, before, width * sizeof *now) != 0) {
      return true;
    }
  }
  return false;
}
