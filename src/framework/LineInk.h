// A line of text drawn once with its layout's origin at a whole pixel: for
// each pixel, how much of it the letters cover, a byte. Drawing the line
// again at another whole-pixel place darkens the background by it, which
// gives the pixels that drawing the glyphs in black over that background
// gives, for far less work than drawing the glyphs: the status lines are
// drawn ten times a second.
#pragma once

#include "base/WinTypes.h"
#include "platform/ui/Surface.h"

#include <pango/pangoft2.h>

#include <cstdint>
#include <vector>

class LineInk {
 public:
  // layout is one made over a FreeType font map.
  explicit LineInk(PangoLayout* layout);

  // The line's logical extent, from its layout's origin.
  const PangoRectangle& Logical() const { return logical_; }

  // Darkens surface by the line's ink with the logical extent's top-left at
  // (x, y), inside clip only. Pixels keep a zero top byte.
  void DrawOn(platform::Surface& surface, int x, int y, const RECT& clip) const;

 private:
  PangoRectangle logical_{};
  RECT area_{};                         // what coverage_ covers, from the layout's origin: ink and logical extent
  std::vector<std::uint8_t> coverage_;  // rows of area_'s width
};
