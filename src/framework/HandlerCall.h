// Calling a window's message handler under the framework's exception
// reporting.
#pragma once

#include "framework/MessageMap.h"

// Calls entry's handler for wnd and returns its result. When the handler
// lets out a framework exception (CException) or a failed allocation, the
// player sees a message box with a stop icon, the exception's error text
// (string 61704 when it has none) and the application's name as caption,
// and the dispatch goes on: the result is then 0, or -1 for WM_CREATE so the
// window is not made, and a failed WM_PAINT leaves the window validated
// rather than painted again and again. A timer that fails on every tick is
// reported once: its failure is shown again only with another text, or after
// one of its ticks has run through.
LRESULT CallHandler(const MessageMapEntry& entry, CWnd& wnd, WPARAM wParam, LPARAM lParam);
