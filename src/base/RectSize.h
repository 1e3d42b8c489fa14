// The size of a rectangle, for code that builds on both systems (Windows'
// RECT has no member functions).
#pragma once

#include "base/WinTypes.h"

constexpr int RectWidth(const RECT& rect) { return rect.right - rect.left; }
constexpr int RectHeight(const RECT& rect) { return rect.bottom - rect.top; }
