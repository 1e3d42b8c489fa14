// The system's window behind a window of the framework, as the platform's
// browser engines take it.
#pragma once

#include "base/WinTypes.h"
#include "platform/ui/Display.h"

platform::NativeWindow NativeWindowOf(HWND hwnd);
