#include "framework/DrawText.h"

#include "base/NarrowText.h"
#include "framework/GdiObjects.h"
#include "framework/Region.h"
#include "framework/SystemFont.h"
#include "framework/TextLines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint32_t kBackground = 0x00FFFFFFu;  // white, the background colour of a fresh context

// The parts of rect that drawing on the context may touch.
std::vector<RECT> VisibleParts(const DeviceContext& dc, const RECT& rect) {
  const platform::Surface& surface = *dc.surface;
  RECT limit;
  if (!IntersectRect(&limit, rect, RECT{0, 0, surface.Width(), surface.Height()})) {
    return {};
  }
  if (!dc.clipped) {
    return {limit};
  }
  std::vector<RECT> parts;
  for (const RECT& clip : dc.clip.Rects()) {
    RECT part;
    if (IntersectRect(&part, limit, clip)) {
      parts.push_back(part);
    }
  }
  return parts;
}

// Fills area, inside clip only, with the background colour.
void Fill(platform::Surface& surface, const RECT& area, const RECT& clip) {
  RECT inside;
  if (!IntersectRect(&inside, area, clip)) {
    return;
  }
  for (int y = inside.top; y < inside.bottom; ++y) {
    std::fill(surface.Row(y) + inside.left, surface.Row(y) + inside.right, kBackground);
  }
}

}  // namespace

int SetBkMode(HDC hdc, int mode) {
  if (hdc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
    return 0;
  }
  const int previous = hdc->bkMode;
  hdc->bkMode = mode;
  return previous;
}

int GetBkMode(HDC hdc) { return hdc != nullptr ? hdc->bkMode : 0; }

int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format) {
  if (hdc == nullptr || text == nullptr || rect == nullptr) {
    return 0;
  }
  platform::Surface* surface = DrawingSurface(*hdc);
  if (surface == nullptr) {
    return 0;
  }
  const std::string_view narrow(text, count < 0 ? std::strlen(text) : static_cast<std::size_t>(count));
  const std::vector<TextLine> lines = SplitTextLines(Utf8FromLocale(narrow));
  const SystemFont& font = SystemFont::Current();
  const std::vector<RECT> parts = VisibleParts(*hdc, *rect);

  int y = rect->top;
  bool inked = false;
  for (const TextLine& line : lines) {
    const LineInk& ink = font.Line(line);
    const PangoRectangle& extent = ink.Logical();
    const int x = (format & DT_RIGHT) != 0 ? rect->right - extent.width : rect->left;
    for (const RECT& part : parts) {
      if (hdc->bkMode == OPAQUE) {
        Fill(*surface, RECT{x, y, x + extent.width, y + extent.height}, part);
      }
      ink.DrawOn(*surface, x, y, part);
    }
    inked = inked || extent.width > 0;
    y += extent.height;
  }

  // Letters may reach beyond their lines' extent (overhangs, accents): the
  // whole visible rectangle counts as drawn.
  if (inked) {
    for (const RECT& part : parts) {
      NoteDrawn(*hdc, part);
    }
  }
  return y - rect->top;
}
