// A block of pixels: the backing store of a window, or a loaded bitmap.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Pixels are 0x00RRGGBB, rows top to bottom, no padding.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height) { Resize(width, height); }

  void Resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  std::uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
  std::uint32_t* Data() { return pixels_.data(); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace platform
