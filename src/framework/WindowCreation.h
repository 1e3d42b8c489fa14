// Making the window of a framework object, which each system does its own
// way: the object's procedure must see every message from the first one.
#pragma once

#include "framework/Window.h"

struct WindowCreation {
  DWORD exStyle = 0;
  const char* className = nullptr;  // null: the framework's plain window class
  const char* windowName = nullptr;
  DWORD style = 0;  // without WS_VISIBLE: the window is made hidden
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  HWND parent = nullptr;
  UINT_PTR menuOrId = 0;  // child windows: the control id
  void* param = nullptr;  // CREATESTRUCT's lpCreateParams
};

// Makes a window whose messages, WM_CREATE inside the call included, go to
// `procedure`, with `userValue` as its user value (GWLP_USERDATA). Null when
// the system cannot make it, or when WM_CREATE answered -1: the window is
// then destroyed again.
HWND CreateFrameworkWindow(const WindowCreation& creation, WNDPROC procedure, LONG_PTR userValue);
