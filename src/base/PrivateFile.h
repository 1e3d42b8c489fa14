// The flags of open(2) for a file the program writes for itself: its bytes
// as they are (Windows' C library would translate line ends otherwise), and
// not handed to the programs the launcher starts.
#pragma once

#include <fcntl.h>

#ifdef _WIN32
inline constexpr int kPrivateFileFlags = O_BINARY | O_NOINHERIT;
#else
inline constexpr int kPrivateFileFlags = O_CLOEXEC;
#endif
