// The framework's record of one window, behind an HWND.
#pragma once

#include "base/WinTypes.h"
#include "framework/Region.h"
#include "framework/Window.h"
#include "platform/ui/Display.h"
#include "platform/ui/Surface.h"

#include <memory>
#include <string>
#include <vector>

struct WindowRecord {
  WNDPROC proc = nullptr;  // receives the window's messages
  LONG_PTR userData = 0;   // the owner's value, kept for it
  HWND parent = nullptr;
  std::vector<HWND> children;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  RECT rect{};  // screen rectangle, or the rectangle in the parent's client area
  std::string title;
  std::vector<unsigned char> iconPng;
  bool visible = false;
  bool destroying = false;
  Region update;
  std::unique_ptr<platform::Surface> backing;  // top-level windows: what they show
  platform::NativeWindow native = 0;
};

// Creates a window whose messages go to `proc`, with `userData` set before
// WM_CREATE is sent. Null on failure.
HWND CreateWindowRecord(CREATESTRUCT& create, const std::vector<unsigned char>& iconPng, WNDPROC proc,
                        LONG_PTR userData);
// The first visible window with something to repaint, or null.
HWND NextWindowToPaint();
// The window's backing store: what it shows on the screen. Null for child windows.
const platform::Surface* GetBackingStore(HWND hwnd);
// Forgets a window at the very end of its destruction.
void RemoveWindowRecord(HWND hwnd);
// Hands a message to the window's procedure.
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
