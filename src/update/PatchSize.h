// Reading a patch's announced size and the share of it received so far.
#pragma once

#include "base/WinTypes.h"

// The announced size from a Content-Length text: decimal digits after
// leading blanks, up to the first other character; no digits give 0. A size
// beyond 32 bits counts as the largest one, which the body then falls short of.
DWORD ParseSize(const char* text);

// received × 100 ÷ size without overflow, never above 100; size is not 0.
int Percent(DWORD received, DWORD size);
