#include "framework/Region.h"

#include <algorithm>

bool IntersectRect(RECT* out, const RECT& a, const RECT& b) {
  const RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) {
    *out = RECT{};
    return false;
  }
  *out = r;
  return true;
}

void Region::Add(const RECT& rect) {
  if (rect.IsEmpty()) {
    return;
  }
  Subtract(rect);
  rects_.push_back(rect);
}

void Region::Subtract(const RECT& cut) {
  std::vector<RECT> kept;
  kept.reserve(rects_.size() + 4);
  for (const RECT& r : rects_) {
    RECT overlap;
    if (!IntersectRect(&overlap, r, cut)) {
      kept.push_back(r);
      continue;
    }
    // What remains of r around the overlap: full-width bands above and below,
    // and the pieces left and right of it.
    const RECT pieces[] = {
        {r.left, r.top, r.right, overlap.top},
        {r.left, overlap.bottom, r.right, r.bottom},
        {r.left, overlap.top, overlap.left, overlap.bottom},
        {overlap.right, overlap.top, r.right, overlap.bottom},
    };
    for (const RECT& piece : pieces) {
      if (!piece.IsEmpty()) {
        kept.push_back(piece);
      }
    }
  }
  rects_ = std::move(kept);
}

RECT Region::Bounds() const {
  if (rects_.empty()) {
    return RECT{};
  }
  RECT b = rects_.front();
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}
