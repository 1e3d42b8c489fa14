#include "framework/WindowCreation.h"

#include "framework/win32/FrameworkClass.h"

#include <cassert>
#include <utility>

namespace {

// The object a window is being made for, until its window's first message.
struct PendingWindow {
  WNDPROC procedure = nullptr;
  LONG_PTR userValue = 0;
};
thread_local PendingWindow g_pending;

}  // namespace

LRESULT CALLBACK FrameworkClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const PendingWindow pending = std::exchange(g_pending, PendingWindow{});
  if (pending.procedure == nullptr) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, pending.userValue);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pending.procedure));
  return pending.procedure(hwnd, message, wParam, lParam);
}

HWND CreateFrameworkWindow(const WindowCreation& creation, WNDPROC procedure, LONG_PTR userValue) {
  assert(g_pending.procedure == nullptr);
  const char* className = creation.className != nullptr ? creation.className : PlainWindowClass();
  if (className == nullptr) {
    return nullptr;
  }
  g_pending = PendingWindow{procedure, userValue};
  const HWND hwnd =
      CreateWindowExA(creation.exStyle, className, creation.windowName, creation.style, creation.x, creation.y,
                      creation.cx, creation.cy, creation.parent, reinterpret_cast<HMENU>(creation.menuOrId),
                      GetModuleHandleA(nullptr), creation.param);
  // A class that is not the framework's never took the object.
  g_pending = PendingWindow{};
  if (hwnd == nullptr) {
    return nullptr;
  }
  // The window's own device context keeps its font for every later paint.
  HDC dc = GetDC(hwnd);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  ReleaseDC(hwnd, dc);
  return hwnd;
}
