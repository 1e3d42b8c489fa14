// The framework's inside view of device contexts and bitmaps.
#pragma once

#include "framework/ColourRuns.h"
#include "framework/DrawText.h"
#include "framework/Gdi.h"
#include "framework/PaintSnapshot.h"
#include "framework/Region.h"
#include "platform/ui/Surface.h"

#include <memory>

struct GdiBitmap {
  // The picture: its pixels, or for a picture loaded from the resources and
  // kept as runs, the runs. Bitmaps loaded from one resource share its
  // decoded form until something draws into one of them (see OwnPixels).
  std::shared_ptr<platform::Surface> pixels;
  std::shared_ptr<const ColourRuns> runs;
};

// The bitmap's pixels, made its own first when they are shared or kept as runs.
platform::Surface& OwnPixels(GdiBitmap& bitmap);

struct DeviceContext {
  platform::Surface* surface = nullptr;  // what drawing lands in
  HBITMAP selected = nullptr;            // memory contexts: the bitmap selected
  bool clipped = false;                  // drawing limited to `clip`
  Region clip;
  HWND window = nullptr;  // window contexts: the window to show the drawing in
  Region drawn;           // what was drawn since creation
  PaintSnapshot before;   // paint contexts: the update region's pixels at BeginPaint
  int bkMode = OPAQUE;
};

// Records that `area` of the context's surface was drawn on.
void NoteDrawn(DeviceContext& dc, const RECT& area);
// The surface to draw into: the context's own, its selected bitmap's pixels
// made the bitmap's own first when others share them. Null when there is none.
platform::Surface* DrawingSurface(DeviceContext& dc);
