// Drawing: device contexts over a window's backing store or a bitmap, and
// block copies between them.
#pragma once

#include "base/WinTypes.h"

#ifdef _WIN32
// Windows' own GDI, from <windows.h>.
#else

struct GdiBitmap;
using HBITMAP = GdiBitmap*;
struct DeviceContext;
using HDC = DeviceContext*;

inline constexpr DWORD SRCCOPY = 0x00CC0020;

// A memory context holding a 1x1 stock bitmap until another is selected.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// Selects a bitmap into a memory context and returns the one it held.
HBITMAP SelectObject(HDC hdc, HBITMAP bitmap);
BOOL DeleteObject(HBITMAP bitmap);
// Copies a cx by cy block from (xSrc, ySrc) of src to (x, y) of dest,
// clipped to both surfaces and to dest's clip region. Only SRCCOPY is known.
BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xSrc, int ySrc, DWORD rop);
// Width and height of a bitmap.
POINT GetBitmapSize(HBITMAP bitmap);

#endif
