// The process's current directory, as the launcher's narrow texts hold it.
#pragma once

#include "base/WinTypes.h"

#ifdef _WIN32
// Windows' own GetCurrentDirectoryA, from <windows.h>.
#else

// Writes the current directory, in the locale's narrow encoding and
// NUL-terminated, into `buffer` of `size` bytes. Returns its length, or 0
// when it cannot be read (it was removed, for instance), cannot be written in
// that encoding, or does not fit whole.
DWORD GetCurrentDirectory(DWORD size, char* buffer);

#endif
