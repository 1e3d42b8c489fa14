#include "framework/CWnd.h"

#include "framework/CWinApp.h"
#include "framework/HandlerCall.h"
#include "framework/WindowClass.h"
#include "framework/WindowRecord.h"

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
  CREATESTRUCT create;
  create.lpCreateParams = param;
  create.hwndParent = parent;
  create.hMenu = menuOrId;
  create.x = x;
  create.y = y;
  create.cx = cx;
  create.cy = cy;
  create.style = style & ~WS_VISIBLE;
  create.lpszName = windowName;
  create.lpszClass = className;
  create.dwExStyle = exStyle;
  HWND hwnd = CreateWindowRecord(create, FindWindowClass(className).iconPng, &CWnd::WindowProcedure,
                                 reinterpret_cast<LONG_PTR>(this));
  if (hwnd == nullptr) {
    return FALSE;
  }
  m_hWnd = hwnd;
  if (::SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    // A refused window leaves its object to the creator, untouched by the destruction.
    Detach(hwnd);
    m_hWnd = nullptr;
    ::DestroyWindow(hwnd);
    return FALSE;
  }
  if ((style & WS_VISIBLE) != 0) {
    ::ShowWindow(hwnd, SW_SHOW);
  }
  return TRUE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.Width(), rect.Height(),
                  parent != nullptr ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

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
  const MSG outer = wnd->currentMessage_;
  wnd->currentMessage_ = MSG{hwnd, message, wParam, lParam};
  ++wnd->runningHandlers_;
  const LRESULT result = wnd->WindowProc(message, wParam, lParam);
  wnd->currentMessage_ = outer;
  // The object outlives its window until the outermost of its handlers is
  // done, so no handler returns into a deleted object.
  if (--wnd->runningHandlers_ == 0 && wnd->postNcDestroyDue_) {
    wnd->postNcDestroyDue_ = false;
    wnd->PostNcDestroy();
  }
  return result;
}
