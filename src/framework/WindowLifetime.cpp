// The end of a window, and the handling of messages a window procedure
// leaves to the system. Above both the window records and the queue: a
// window's end drops its waiting messages and timers.
#include "framework/DisplayBinding.h"
#include "framework/MessageQueue.h"
#include "framework/QueueInternal.h"
#include "framework/Window.h"
#include "framework/WindowRecord.h"

#include <algorithm>
#include <vector>

BOOL DestroyWindow(HWND hwnd) {
  if (!IsWindow(hwnd) || hwnd->destroying) {
    return FALSE;
  }
  hwnd->destroying = true;
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  const std::vector<HWND> children = hwnd->children;
  for (HWND child : children) {
    DestroyWindow(child);
  }
  if (IsWindow(hwnd->parent)) {
    std::erase(hwnd->parent->children, hwnd);
  }
  ForgetWindowMessages(hwnd);
  if (platform::Display* display = CurrentDisplay()) {
    display->Destroy(hwnd->native);
  }
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  RemoveWindowRecord(hwnd);
  return TRUE;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE: {
      // A child window lets its parent decide first.
      const HWND parent = GetParent(hwnd);
      const LRESULT answer = parent != nullptr ? SendMessage(parent, message, wParam, lParam) : 0;
      return answer != 0 ? answer : MA_ACTIVATE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    default:
      return 0;
  }
}
