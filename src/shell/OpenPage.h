// Opening a web page in the desktop's browser rather than in the launcher.
#pragma once

#include "base/WinTypes.h"

// Tries three ways, each only when the one before failed: the shell opens the
// address, then starts "explorer.exe" with it, then explores it. TRUE as soon
// as one has started something; FALSE when all three failed.
BOOL OpenPageOutside(HWND owner, const char* url);
