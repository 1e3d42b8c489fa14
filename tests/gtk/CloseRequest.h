// Asking a window to close as the desktop's close button does, over a
// connection of the test's own.
#pragma once

#include <string>

// Sends WM_DELETE_WINDOW to the shown top-level window titled exactly
// `title`; false when there is no such window or no X server.
bool RequestClose(const std::string& title);
