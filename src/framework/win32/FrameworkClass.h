// The window classes of the framework on Windows: their windows hand every
// message, from the first, to the procedure of the object being created.
#pragma once

#include "base/WinTypes.h"

// The procedure of every framework class; it gives the window to the object
// CreateFrameworkWindow is making, then steps aside.
LRESULT CALLBACK FrameworkClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The class of windows created without a class name.
const char* PlainWindowClass();
// The device context the framework's windows keep (CS_OWNDC) draws text in the default GUI font.
inline constexpr UINT kFrameworkClassStyle = CS_OWNDC;
