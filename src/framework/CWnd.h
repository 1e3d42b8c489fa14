// The window class of the framework: a window object bound to one window,
// receiving its messages through its message map.
#pragma once

#include "framework/MessageMap.h"
#include "framework/MessageQueue.h"
#include "framework/Window.h"

class CWnd {
 public:
  CWnd() = default;
  // Destroys a window that still exists, without calling back into this object.
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Creates the window; WM_CREATE reaches this object inside the call.
  // A null class name takes the framework's plain window class (on Linux,
  // an unknown one too).
  BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int cx, int cy,
                HWND parent, UINT_PTR menuOrId, void* param = nullptr);
  // Creates a child window at rect inside parent, with a control id.
  virtual BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                      UINT id, void* context = nullptr);
  virtual BOOL DestroyWindow();

  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
  }
  DWORD GetStyle() const { return ::GetWindowStyle(m_hWnd); }
  DWORD GetExStyle() const { return ::GetWindowExStyle(m_hWnd); }
  // Windows of this framework have no menu bar.
  bool HasMenu() const { return false; }

  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc);
  BOOL KillTimer(UINT_PTR id);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
  }

  void InvalidateRect(const RECT* rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
  void ValidateRect(const RECT* rect) { ::ValidateRect(m_hWnd, rect); }
  HDC GetDC() { return ::GetDC(m_hWnd); }
  int ReleaseDC(HDC hdc) { return ::ReleaseDC(m_hWnd, hdc); }
  HDC BeginPaint(PAINTSTRUCT* paint) { return ::BeginPaint(m_hWnd, paint); }
  void EndPaint(const PAINTSTRUCT* paint) { ::EndPaint(m_hWnd, paint); }

  HWND m_hWnd = nullptr;

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual const MessageMap* GetMessageMap() const;
  static const MessageMap* GetThisMessageMap();
  // The default handling of the message being handled.
  LRESULT Default();
  // The last step of a window's life, after its last message and once no
  // handler of this object is still running (a handler's nested message loop
  // may have taken the message that destroyed the window); nothing here.
  virtual void PostNcDestroy();

  int OnCreate(CREATESTRUCT* create);
  void OnDestroy();
  void OnNcDestroy();
  void OnClose();
  void OnTimer(UINT_PTR id);

 private:
  // The procedure of every window of this class: hands the message to the
  // object bound to the window, or to the default handling.
  static LRESULT WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  MSG currentMessage_{};
  int runningHandlers_ = 0;  // messages of this object being handled, nested ones included
  bool postNcDestroyDue_ = false;
};
