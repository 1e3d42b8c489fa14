// Dispatching the test thread's messages until a condition holds.
#pragma once

#include "base/WinTypes.h"

#include <functional>

// How long a test waits for what it expects before it calls it a failure.
inline constexpr DWORD kPumpLimitMs = 10000;

// Dispatches the thread's messages, waiting for each, until done() holds;
// false when the limit passed first or a quit message came (it is taken).
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = kPumpLimitMs);

// Dispatches what waits already, so a test starts from an empty queue; false
// when a quit message was among it (it is taken).
bool DispatchPending();
