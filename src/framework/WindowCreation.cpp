#include "framework/WindowCreation.h"

#include "framework/MessageQueue.h"
#include "framework/WindowClass.h"
#include "framework/WindowRecord.h"

HWND CreateFrameworkWindow(const WindowCreation& creation, WNDPROC procedure, LONG_PTR userValue) {
  CREATESTRUCT create;
  create.lpCreateParams = creation.param;
  create.hwndParent = creation.parent;
  create.hMenu = creation.menuOrId;
  create.x = creation.x;
  create.y = creation.y;
  create.cx = creation.cx;
  create.cy = creation.cy;
  create.style = creation.style;
  create.lpszName = creation.windowName;
  create.lpszClass = creation.className;
  create.dwExStyle = creation.exStyle;
  HWND hwnd = CreateWindowRecord(create, FindWindowClass(creation.className).iconPng, procedure, userValue);
  if (hwnd == nullptr) {
    return nullptr;
  }
  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  return hwnd;
}
