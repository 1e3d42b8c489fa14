// Where the main window goes on the desktop.
#pragma once

#include "base/WinTypes.h"

inline constexpr int kClientWidth = 640;
inline constexpr int kClientHeight = 480;

// Centres the 640 by 480 window on the work area's width and height; the
// area's own left and top edges are not added, and the division truncates
// toward zero.
POINT CentreOnWorkArea(const RECT& workArea);
