#include "framework/ColourRuns.h"

#include <algorithm>
#include <cassert>

namespace {

constexpr std::uint32_t kColour = 0x00FFFFFFu;
constexpr int kLengthShift = 24;
constexpr int kLongestRun = 256;

int LengthOf(std::uint32_t run) { return static_cast<int>(run >> kLengthShift) + 1; }

}  // namespace

std::optional<ColourRuns> ColourRuns::Of(const platform::Surface& pixels) {
  ColourRuns picture(pixels.Width(), pixels.Height());
  const std::size_t budget = static_cast<std::size_t>(pixels.Width()) * static_cast<std::size_t>(pixels.Height());
  picture.rowStarts_.reserve(static_cast<std::size_t>(pixels.Height()) + 1);
  for (int y = 0; y < pixels.Height(); ++y) {
    picture.rowStarts_.push_back(static_cast<std::uint32_t>(picture.runs_.size()));
    const std::uint32_t* row = pixels.Row(y);
    for (int x = 0; x < pixels.Width();) {
      const std::uint32_t colour = row[x] & kColour;
      int length = 1;
      while (length < kLongestRun && x + length < pixels.Width() && (row[x + length] & kColour) == colour) {
        ++length;
      }
      picture.runs_.push_back(colour | static_cast<std::uint32_t>(length - 1) << kLengthShift);
      x += length;
    }
    if (picture.runs_.size() + picture.rowStarts_.size() >= budget) {
      return std::nullopt;
    }
  }
  picture.rowStarts_.push_back(static_cast<std::uint32_t>(picture.runs_.size()));
  picture.runs_.shrink_to_fit();
  return picture;
}

void ColourRuns::CopyRow(int y, int x, int count, std::uint32_t* out) const {
  assert(y >= 0 && y < height_ && x >= 0 && count >= 0 && x + count <= width_);
  std::size_t run = rowStarts_[static_cast<std::size_t>(y)];
  int start = 0;  // where the run begins in the row
  while (start + LengthOf(runs_[run]) <= x) {
    start += LengthOf(runs_[run]);
    ++run;
  }
  int skip = x - start;
  while (count > 0) {
    const int take = std::min(count, LengthOf(runs_[run]) - skip);
    out = std::fill_n(out, take, runs_[run] & kColour);
    count -= take;
    skip = 0;
    ++run;
  }
}

platform::Surface ColourRuns::Pixels() const {
  platform::Surface pixels(width_, height_);
  for (int y = 0; y < height_; ++y) {
    CopyRow(y, 0, width_, pixels.Row(y));
  }
  return pixels;
}
