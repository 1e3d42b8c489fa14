// The pixels under a paint's update region as they were before the paint,
// so that only what the paint really changed is shown again. A status line
// repainted with the same text then costs the screen nothing.
#pragma once

#include "base/WinTypes.h"
#include "platform/ui/Surface.h"

#include <cstdint>
#include <vector>

class PaintSnapshot {
 public:
  // Keeps the surface's pixels inside area (clipped to the surface).
  void Take(const platform::Surface& surface, const RECT& area);
  // Whether any pixel of rect differs from the kept ones; true for any part
  // of rect the snapshot does not cover.
  bool Changed(const platform::Surface& surface, const RECT& rect) const;

 private:
  RECT area_{};
  std::vector<std::uint32_t> pixels_;
};
