// Windows: creation, placement, painting and destruction.
#pragma once

#include "base/WinTypes.h"
#include "framework/Gdi.h"

#ifdef _WIN32
// Windows' own names, from <windows.h>; the framework adds the style
// questions of <windowsx.h>, which is left out for its many other macros.
inline DWORD GetWindowStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
inline DWORD GetWindowExStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)); }
#else

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint{};  // bounding rectangle of the region being repainted
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HWND hwndParent = nullptr;
  UINT_PTR hMenu = 0;  // child windows: the control id
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  DWORD style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

// Special z-order position for SetWindowPos.
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;

inline constexpr int SW_SHOW = 5;

inline constexpr UINT SPI_GETWORKAREA = 0x0030;

inline constexpr WPARAM MK_LBUTTON = 0x0001;

// WM_MOUSEACTIVATE: lParam carries the hit-test code and the mouse message;
// the answer says whether the click activates and whether it is consumed.
inline constexpr int HTCLIENT = 1;
inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_ACTIVATEANDEAT = 2;
inline constexpr LRESULT MA_NOACTIVATE = 3;
inline constexpr LRESULT MA_NOACTIVATEANDEAT = 4;
using LONG_PTR = std::intptr_t;
// A window procedure: what receives a window's messages.
using WNDPROC = LRESULT (*)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Slots of a window for GetWindowLongPtr and SetWindowLongPtr.
inline constexpr int GWLP_WNDPROC = -4;
inline constexpr int GWLP_USERDATA = -21;

// The window's procedure or its user value; 0 for another index or no window.
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
// Sets one of them and returns what it held.
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);

BOOL IsWindow(HWND hwnd);
BOOL DestroyWindow(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);
// Paints the window at once when its update region is not empty.
BOOL UpdateWindow(HWND hwnd);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
DWORD GetWindowStyle(HWND hwnd);
DWORD GetWindowExStyle(HWND hwnd);
HWND GetParent(HWND hwnd);

// A null rect stands for the whole client area. Erasing is not supported:
// windows of this framework have no background brush.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);

// A context over the whole client area, unclipped.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
// A context clipped to the update region, which is validated.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

// SPI_GETWORKAREA: the desktop's work area into the RECT at param.
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni);
// Windows of this framework have no frame, caption or menu bar, so the window
// rectangle equals the client rectangle.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
