// The user-interface thread's message queue.
//
// Messages come out in this order of precedence, as the launcher relies on:
//   1. posted messages (and input from the display), first in, first out;
//   2. the quit message, once no posted message waits;
//   3. WM_PAINT for a window with a non-empty update region;
//   4. WM_TIMER for a timer that is due.
// A timer message is produced only at the moment it is taken, so at most one
// is ever pending per timer and none can overtake a posted message.
#pragma once

#include "base/WinTypes.h"
#include "platform/network/FdWatch.h"

#ifdef _WIN32
// Windows' own queue, from <windows.h>; the framework adds the wait on a
// watched object beside the messages.

// Waits until a message may be waiting (MsgWaitForMultipleObjects with
// QS_ALLINPUT), the event of `watch` is signalled, or timeoutMs (INFINITE:
// no limit) pass, whichever is first. Messages are left for the caller to
// dispatch. Sets watch.ready.
void MsgWaitForDescriptor(platform::FdWatch& watch, DWORD timeoutMs);
#else

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// Windows' shortest timer period; shorter periods, 0 included, take it.
inline constexpr UINT USER_TIMER_MINIMUM = 10;

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Takes the next message, waiting for one; input from the display joins the
// queue when no message waits. Returns FALSE for WM_QUIT (msg->wParam then
// holds the exit code), TRUE otherwise.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Takes in what input the display has, then looks for a message without
// waiting. With PM_REMOVE it is taken off the queue.
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);

// One turn of a modal loop: dispatches the next message, or, when none
// waits, waits until input or a timer may bring one. Returns FALSE when it
// took the quit message, which it posts again for the loop that owns it.
BOOL PumpOneMessage();

inline constexpr DWORD INFINITE = 0xFFFFFFFF;

// Waits until a message may be waiting (input from the display, a timer
// coming due), the descriptor of `watch` is ready, or timeoutMs (INFINITE:
// no limit) pass,
// whichever is first; returns at once when a message waits already. The
// display keeps serving the screen meanwhile; messages are left for the
// caller to dispatch. Sets watch.ready.
void MsgWaitForDescriptor(platform::FdWatch& watch, DWORD timeoutMs);

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Milliseconds since an arbitrary start, from a monotonic clock.
DWORD GetTickCount();

#endif
