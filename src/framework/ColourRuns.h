// A picture kept as runs of one colour, row by row. The program's pictures
// are drawn art with wide flat areas: kept this way, the 640x480 background
// takes a seventh of its pixels' memory, and a stretch of a row costs little
// more to read than from the pixels.
#pragma once

#include "platform/ui/Surface.h"

#include <cstdint>
#include <optional>
#include <vector>

class ColourRuns {
 public:
  // The picture as runs; nothing when they would take as much memory as its pixels.
  static std::optional<ColourRuns> Of(const platform::Surface& pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Writes the pixels [x, x + count) of row y, all inside the picture, to out.
  void CopyRow(int y, int x, int count, std::uint32_t* out) const;
  platform::Surface Pixels() const;

 private:
  ColourRuns(int width, int height) : width_(width), height_(height) {}

  int width_ = 0;
  int height_ = 0;
  // A run's colour in the low 24 bits, its length less one in the top 8.
  std::vector<std::uint32_t> runs_;
  // Each row's first run, then the end of the last row's.
  std::vector<std::uint32_t> rowStarts_;
};
