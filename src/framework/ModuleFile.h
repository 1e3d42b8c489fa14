// The file a resource module was loaded from.
#pragma once

#include "framework/Resources.h"

#ifdef _WIN32
// Windows' own GetModuleFileNameA, from <windows.h>.
#else

inline constexpr DWORD MAX_PATH = 260;

// Writes the full path of the program's file, in the locale's narrow encoding
// and NUL-terminated, into `buffer` of `size` bytes. Returns its length, or 0
// when the path cannot be read, cannot be written in that encoding, or does
// not fit whole.
DWORD GetModuleFileName(HINSTANCE instance, char* buffer, DWORD size);

#endif
