// Work on a thread of its own that nobody waits for: the resolver's and the
// HTTP client's. A Win32 thread, not a std::thread, whose state MinGW's
// thread library keeps apart from the work.
#pragma once

#include <functional>

namespace platform {

// Starts `work` on a new thread; false when no thread could be made.
bool RunDetached(std::function<void()> work);

}  // namespace platform
