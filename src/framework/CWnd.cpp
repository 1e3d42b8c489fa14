#include "framework/CWnd.h"

#include "base/RectSize.h"
#include "framework/CWinApp.h"
#include "framework/HandlerCall.h"
#include "framework/TimerState.h"
#include "framework/WindowCreation.h"

#include <cassert>

namespace {

CWnd* ObjectOf(HWND hwnd) { return reinterpret_cast<CWnd*>(GetWindowLongPtr(hwnd, GWLP_USERDATA)); }

// Later messages of the window get the default handling.
void Detach(HWND hwnd) { SetWindowLongPtr(hwnd, GWLP_USERDATA, 0); }

}  // namespace

CWnd::~CWnd() {
  if (IsWindow(m_hWnd)) {
    Detach(m_hWnd);
    ::DestroyWindow(m_hWnd);
  }
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int cx,
                    int cy, HWND parent, UINT_PTR menuOrId, void* param) {
  const WindowCreation creation{exStyle, className, windowName, style & ~WS_VISIBLE, x, y, cx, cy,
                                parent,  menuOrId,  param};
  const HWND hwnd = CreateFrameworkWindow(creation, &CWnd::WindowProcedure, reinterpret_cast<LONG_PTR>(this));
  if (hwnd == nullptr) {
    // A refused window leaves its object to the creator, untouched by the destruction.
    m_hWnd = nullptr;
    return FALSE;
  }
  assert(m_hWnd == hwnd);
  if ((style & WS_VISIBLE) != 0) {
    ::ShowWindow(hwnd, SW_SHOW);
  }
  return TRUE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, RectWidth(rect), RectHeight(rect),
                  parent != nullptr ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  return SetWindowTimer(m_hWnd, id, elapseMs, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) { return KillWindowTimer(m_hWnd, id); }

const MessageMap* CWnd::GetThisMessageMap() {
  static const MessageMap map{nullptr, {msgmap::NcDestroy(&CWnd::OnNcDestroy)}};
  return &map;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    for (const MessageMapEntry& entry : map->entries) {
      if (entry.message == message) {
        return CallHandler(entry, *this, wParam, lParam);
      }
    }
  }
  return DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_hWnd, currentMessage_.message, currentMessage_.wParam, currentMessage_.lParam);
}

void CWnd::PostNcDestroy() {}

int CWnd::OnCreate(CREATESTRUCT*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }

void CWnd::OnNcDestroy() {
  // The end of the main window ends the program's message loop.
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    PostQuitMessage(0);
  }
  Default();
  Detach(m_hWnd);
  m_hWnd = nullptr;
  postNcDestroyDue_ = true;
}

LRESULT CWnd::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = ObjectOf(hwnd);
  if (wnd == nullptr) {
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (wnd->m_hWnd == nullptr) {
    // The window's first message: the object learns its window.
    wnd->m_hWnd = hwnd;
  }
  const MSG outer = wnd->currentMessage_;
  wnd->currentMessage_ = MSG{};
  wnd->currentMessage_.hwnd = hwnd;
  wnd->currentMessage_.message = message;
  wnd->currentMessage_.wParam = wParam;
  wnd->currentMessage_.lParam = lParam;
  ++wnd->runningHandlers_;
  const LRESULT result = wnd->WindowProc(message, wParam, lParam);
  wnd->currentMessage_ = outer;
  if (message == WM_CREATE && result == -1) {
    // A refused window is destroyed without its object.
    Detach(hwnd);
  }
  // The object outlives its window until the outermost of its handlers is
  // done, so no handler returns into a deleted object.
  if (--wnd->runningHandlers_ == 0 && wnd->postNcDestroyDue_) {
    wnd->postNcDestroyDue_ = false;
    wnd->PostNcDestroy();
  }
  return result;
}
