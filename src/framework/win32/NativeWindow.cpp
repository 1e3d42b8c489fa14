#include "framework/NativeWindow.h"

platform::NativeWindow NativeWindowOf(HWND hwnd) {
  return IsWindow(hwnd) ? reinterpret_cast<platform::NativeWindow>(hwnd) : 0;
}
