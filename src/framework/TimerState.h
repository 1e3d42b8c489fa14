// The timers of the framework's window objects, as their failure reports
// need to know them: Win32 cannot be asked whether a timer is set, so the
// objects set and end their timers through here.
#pragma once

#include "framework/MessageQueue.h"

// SetTimer and KillTimer for a window object's timer.
UINT_PTR SetWindowTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillWindowTimer(HWND hwnd, UINT_PTR id);
// Whether the window's timer `id` is set.
bool IsTimerSet(HWND hwnd, UINT_PTR id);
