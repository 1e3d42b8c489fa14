// Servicing the user-interface thread's window messages while it waits.
#pragma once

#include "base/WinTypes.h"

// Dispatches every message waiting for the calling thread, plainly (no
// pre-translation). Returns FALSE when it took the quit message; the quit is
// then posted again, so the loop that owns the thread still sees it.
BOOL PumpMessages();
