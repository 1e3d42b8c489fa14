// Pausing the calling thread.
#pragma once

namespace platform {

// Sleeps for at least the given number of milliseconds.
void SleepMilliseconds(unsigned milliseconds);

}  // namespace platform
