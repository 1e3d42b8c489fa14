// Modal message boxes. The box runs its own message loop while it is shown,
// so timers and paints of the launcher's windows keep being dispatched.
#pragma once

#include "base/WinTypes.h"

#ifdef _WIN32
// Windows' own MessageBoxA, from <windows.h>: its loop dispatches the
// thread's other messages while the box is shown.
#else

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONSTOP = 0x00000010;
inline constexpr int IDOK = 1;

// text and caption are narrow texts in the locale's encoding. A null caption
// shows Windows' default caption ("Error").
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

#endif
