// Window classes: the settings a window is created with, by class name.
#pragma once

#include "base/WinTypes.h"
#include "framework/Resources.h"

#include <vector>

#ifdef _WIN32
// Windows' own classes and cursors, from <windows.h>.

// Registers a window class of the framework for these settings (its windows'
// messages go to the objects made with them) and returns its generated name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);
#else

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;

struct CursorResource;
using HCURSOR = const CursorResource*;
struct BrushResource;
using HBRUSH = const BrushResource*;

inline constexpr UINT IDC_ARROW = 32512;
// The system's cursors; this framework's windows always show the arrow.
HCURSOR LoadCursor(HINSTANCE instance, UINT id);

struct WindowClass {
  std::vector<unsigned char> iconPng;
};

// Registers a class for these settings and returns its generated name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);
// The class of that name; the plain class when there is none.
const WindowClass& FindWindowClass(const char* name);

#endif
