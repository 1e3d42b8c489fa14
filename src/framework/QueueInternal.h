// What the window code needs of the message queue.
#pragma once

#include "base/WinTypes.h"

// Drops the posted messages and the timers of a window being destroyed.
void ForgetWindowMessages(HWND hwnd);
// Whether the window's timer `id` is set.
bool IsTimerSet(HWND hwnd, UINT_PTR id);
// Waits until a message may be waiting: input from the display or a timer
// coming due, whichever is first.
void WaitMessage();
