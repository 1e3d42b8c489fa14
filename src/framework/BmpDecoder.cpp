#include "framework/BmpDecoder.h"

#include <cstdlib>

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr int kMaxSide = 16384;

}  // namespace

std::optional<platform::Surface> DecodeBmp24(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') {
    return std::nullopt;
  }
  const std::uint32_t dataOffset = ReadU32(file, 10);
  const std::uint32_t headerSize = ReadU32(file, 14);
  const auto width = static_cast<std::int32_t>(ReadU32(file, 18));
  const auto height = static_cast<std::int32_t>(ReadU32(file, 22));
  const std::uint16_t bitsPerPixel = ReadU16(file, 28);
  const std::uint32_t compression = ReadU32(file, 30);
  if (headerSize < kInfoHeaderSize || bitsPerPixel != 24 || compression != kBiRgb || width <= 0 || width > kMaxSide ||
      height == 0 || std::abs(height) > kMaxSide) {
    return std::nullopt;
  }
  // Rows are stored bottom-up unless the height is negative; each is padded to 4 bytes.
  const bool bottomUp = height > 0;
  const int rows = std::abs(height);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  if (dataOffset > file.size() || (file.size() - dataOffset) / stride < static_cast<std::size_t>(rows)) {
    return std::nullopt;
  }
  platform::Surface surface(width, rows);
  for (int row = 0; row < rows; ++row) {
    const std::uint8_t* src = file.data() + dataOffset + static_cast<std::size_t>(row) * stride;
    std::uint32_t* dst = surface.Row(bottomUp ? rows - 1 - row : row);
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* px = src + static_cast<std::size_t>(x) * 3;
      dst[x] = static_cast<std::uint32_t>(px[2]) << 16 | static_cast<std::uint32_t>(px[1]) << 8 | px[0];
    }
  }
  return surface;
}
