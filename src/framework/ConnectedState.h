// The connection-state question of the framework's internet services.
#pragma once

#include "base/WinTypes.h"

#ifdef _WIN32
#include <wininet.h>

// Windows' own InternetGetConnectedState, from <wininet.h>.
#else

// TRUE when the computer is connected to a network. `flags`, when not null,
// receives 0: the launcher ignores how it is connected. `reserved` must be 0.
BOOL InternetGetConnectedState(DWORD* flags, DWORD reserved);

#endif
