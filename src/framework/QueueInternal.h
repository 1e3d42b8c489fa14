// What the window code needs of the message queue.
#pragma once

#include "base/WinTypes.h"

// Drops the posted messages and the timers of a window being destroyed.
void ForgetWindowMessages(HWND hwnd);
// Waits until a message may be waiting: input from the display or a timer
// coming due, whichever is first.
void WaitMessage();
