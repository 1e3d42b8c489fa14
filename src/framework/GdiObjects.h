// The framework's inside view of device contexts and bitmaps.
#pragma once

#include "framework/Gdi.h"
#include "framework/Region.h"
#include "platform/display/Surface.h"

struct GdiBitmap {
  platform::Surface pixels;
};

struct DeviceContext {
  platform::Surface* surface = nullptr;  // what drawing lands in
  HBITMAP selected = nullptr;            // memory contexts: the bitmap selected
  bool clipped = false;                  // drawing limited to `clip`
  Region clip;
  HWND window = nullptr;  // window contexts: the window to show the drawing in
  RECT drawn{};           // bounding box of what was drawn since creation
};

// Records that `area` of the context's surface was drawn on.
void NoteDrawn(DeviceContext& dc, const RECT& area);
