// A line of text drawn once, in black on white, with its layout's origin at
// a whole pixel: for each pixel, the share of the background that shows
// through the letters. Drawing the line again at another whole-pixel
// place multiplies the background by it, which gives the pixels that
// drawing the glyphs over that background gives, for far less work than
// drawing the glyphs: the status lines are drawn ten times a second.
#pragma once

#include "base/WinTypes.h"
#include "platform/ui/Surface.h"

#include <pango/pangoft2.h>

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
  RECT area_{};  // what shade_ covers, from the layout's origin: ink and logical extent
  platform::Surface shade_;
};
