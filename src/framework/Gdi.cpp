#include "framework/GdiObjects.h"
#include "framework/Region.h"
#include "framework/Window.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

// The bitmap a fresh memory context holds, as on Windows: 1 by 1 pixel.
HBITMAP StockBitmap() {
  static GdiBitmap stock{std::make_shared<platform::Surface>(1, 1), nullptr};
  return &stock;
}

// What a context's drawing is read from: its pixels, or its bitmap's runs.
struct BlockSource {
  const platform::Surface* pixels = nullptr;
  const ColourRuns* runs = nullptr;

  POINT Size() const {
    return pixels != nullptr ? POINT{pixels->Width(), pixels->Height()} : POINT{runs->Width(), runs->Height()};
  }
};

BlockSource SourceOf(const DeviceContext& dc) {
  if (dc.surface == nullptr && dc.selected != nullptr) {
    return BlockSource{nullptr, dc.selected->runs.get()};
  }
  return BlockSource{dc.surface, nullptr};
}

// Copies the block `to` of dest from src offset by (dx, dy).
void CopyBlock(platform::Surface& dest, const RECT& to, const BlockSource& src, int dx, int dy) {
  const int width = to.Width();
  for (int y = to.top; y < to.bottom; ++y) {
    if (src.pixels != nullptr) {
      std::memcpy(dest.Row(y) + to.left, src.pixels->Row(y - dy) + (to.left - dx),
                  static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    } else {
      src.runs->CopyRow(y - dy, to.left - dx, width, dest.Row(y) + to.left);
    }
  }
}

}  // namespace

void NoteDrawn(DeviceContext& dc, const RECT& area) {
  // Drawing inside what was drawn already adds nothing, and keeps the
  // record from splitting into pieces.
  for (const RECT& r : dc.drawn.Rects()) {
    RECT overlap;
    if (IntersectRect(&overlap, r, area) && overlap == area) {
      return;
    }
  }
  dc.drawn.Add(area);
}

platform::Surface& OwnPixels(GdiBitmap& bitmap) {
  assert((bitmap.pixels != nullptr) != (bitmap.runs != nullptr) && "a bitmap holds pixels or runs");
  if (bitmap.runs != nullptr) {
    bitmap.pixels = std::make_shared<platform::Surface>(bitmap.runs->Pixels());
    bitmap.runs.reset();
  } else if (bitmap.pixels.use_count() > 1) {
    bitmap.pixels = std::make_shared<platform::Surface>(*bitmap.pixels);
  }
  return *bitmap.pixels;
}

platform::Surface* DrawingSurface(DeviceContext& dc) {
  // A window's context draws into the window's backing store, which ends with the window.
  assert((dc.window == nullptr || IsWindow(dc.window)) && "a window's context is drawn on only while the window lives");
  if (dc.selected != nullptr) {
    dc.surface = &OwnPixels(*dc.selected);
  }
  return dc.surface;
}

HDC CreateCompatibleDC(HDC) {
  auto* dc = new DeviceContext;
  dc->selected = StockBitmap();
  dc->surface = dc->selected->pixels.get();
  return dc;
}

BOOL DeleteDC(HDC hdc) {
  delete hdc;
  return TRUE;
}

HBITMAP SelectObject(HDC hdc, HBITMAP bitmap) {
  if (hdc == nullptr || bitmap == nullptr || hdc->selected == nullptr) {
    return nullptr;
  }
  HBITMAP old = hdc->selected;
  hdc->selected = bitmap;
  hdc->surface = bitmap->pixels.get();
  return old;
}

BOOL DeleteObject(HBITMAP bitmap) {
  if (bitmap == nullptr || bitmap == StockBitmap()) {
    return FALSE;
  }
  delete bitmap;
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xSrc, int ySrc, DWORD rop) {
  if (dest == nullptr || src == nullptr || rop != SRCCOPY || (dest->surface == nullptr && dest->selected == nullptr) ||
      (src->surface == nullptr && src->selected == nullptr)) {
    return FALSE;
  }
  assert((src->window == nullptr || IsWindow(src->window)) && "a window's context is read only while the window lives");
  // The destination first: drawing into a bitmap kept as runs gives it pixels.
  platform::Surface& to = *DrawingSurface(*dest);
  const BlockSource from = SourceOf(*src);
  const POINT size = from.Size();
  // Destination block, limited to the destination surface and to where the
  // source has pixels (source offset by dx, dy in destination coordinates).
  const int dx = x - xSrc;
  const int dy = y - ySrc;
  RECT block{x, y, x + cx, y + cy};
  if (!IntersectRect(&block, block, RECT{0, 0, to.Width(), to.Height()}) ||
      !IntersectRect(&block, block, RECT{dx, dy, dx + size.x, dy + size.y})) {
    return TRUE;
  }
  if (!dest->clipped) {
    CopyBlock(to, block, from, dx, dy);
    NoteDrawn(*dest, block);
    return TRUE;
  }
  for (const RECT& clip : dest->clip.Rects()) {
    RECT part;
    if (IntersectRect(&part, block, clip)) {
      CopyBlock(to, part, from, dx, dy);
      NoteDrawn(*dest, part);
    }
  }
  return TRUE;
}

POINT GetBitmapSize(HBITMAP bitmap) {
  return bitmap != nullptr ? BlockSource{bitmap->pixels.get(), bitmap->runs.get()}.Size() : POINT{};
}
