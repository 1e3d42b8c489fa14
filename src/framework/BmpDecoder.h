// Decoding of uncompressed 24-bit BMP files, the format of the program's pictures.
#pragma once

#include "platform/ui/Surface.h"

#include <cstdint>
#include <optional>
#include <span>

std::optional<platform::Surface> DecodeBmp24(std::span<const std::uint8_t> file);
