// The texts of WinINet's and the system's error codes, for the player.
#pragma once

#include <string>

namespace platform {

// WinINet's own text for `code` (GetLastError after a WinINet call), or
// the system's, followed by the code.
std::string WinInetErrorText(unsigned long code);

}  // namespace platform
