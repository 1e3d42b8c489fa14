#include "framework/DrawText.h"

#include "base/NarrowText.h"
#include "framework/GdiObjects.h"
#include "framework/SystemFont.h"
#include "framework/TextLines.h"

#include <pango/pangocairo.h>

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr double kBackground = 1.0;  // white, the background colour of a fresh context
constexpr double kText = 0.0;        // black, its text colour

// A cairo view of a surface whose pixels are 0x00RRGGBB, as cairo's RGB24 is.
std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> CairoView(platform::Surface& surface) {
  return {cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(surface.Data()), CAIRO_FORMAT_RGB24,
                                              surface.Width(), surface.Height(), surface.Width() * 4),
          &cairo_surface_destroy};
}

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

// Cairo leaves the unused top byte of RGB24 pixels undefined; ours is zero.
void ClearTopBytes(platform::Surface& surface, const RECT& area) {
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = surface.Row(y);
    for (int x = area.left; x < area.right; ++x) {
      row[x] &= 0x00FFFFFFu;
    }
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

  const auto target = CairoView(*surface);
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cairo(cairo_create(target.get()), &cairo_destroy);
  cairo_t* cr = cairo.get();
  for (const RECT& part : parts) {
    cairo_rectangle(cr, part.left, part.top, part.Width(), part.Height());
  }
  cairo_clip(cr);

  int y = rect->top;
  bool inked = false;
  for (const TextLine& line : lines) {
    PangoLayout* layout = font.LineLayout(line);
    PangoRectangle extent;
    pango_layout_get_pixel_extents(layout, nullptr, &extent);
    const int x = (format & DT_RIGHT) != 0 ? rect->right - extent.width : rect->left;
    if (!parts.empty()) {
      if (hdc->bkMode == OPAQUE) {
        cairo_set_source_rgb(cr, kBackground, kBackground, kBackground);
        cairo_rectangle(cr, x, y, extent.width, extent.height);
        cairo_fill(cr);
      }
      cairo_set_source_rgb(cr, kText, kText, kText);
      cairo_move_to(cr, x - extent.x, y - extent.y);
      pango_cairo_show_layout(cr, layout);
    }
    inked = inked || extent.width > 0;
    y += extent.height;
  }
  cairo_surface_flush(target.get());

  // Letters may reach beyond their lines' extent (overhangs, accents): the
  // whole visible rectangle counts as drawn.
  if (inked) {
    for (const RECT& part : parts) {
      ClearTopBytes(*surface, part);
      NoteDrawn(*hdc, part);
    }
  }
  return y - rect->top;
}
