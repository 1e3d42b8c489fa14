#include "framework/NativeWindow.h"

#include "framework/WindowRecord.h"

platform::NativeWindow NativeWindowOf(HWND hwnd) { return IsWindow(hwnd) ? hwnd->native : 0; }
