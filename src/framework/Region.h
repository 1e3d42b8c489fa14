// A region of client pixels, kept as disjoint rectangles: the update region
// of a window and the clip region of a paint.
#pragma once

#include "base/WinTypes.h"

#include <vector>

// Returns true when the rectangles overlap; the overlap goes to out.
bool IntersectRect(RECT* out, const RECT& a, const RECT& b);

class Region {
 public:
  void Add(const RECT& rect);
  void Subtract(const RECT& rect);
  void Clear() { rects_.clear(); }
  bool IsEmpty() const { return rects_.empty(); }
  // The smallest rectangle holding the whole region; empty when the region is.
  RECT Bounds() const;
  const std::vector<RECT>& Rects() const { return rects_; }

 private:
  std::vector<RECT> rects_;
};
