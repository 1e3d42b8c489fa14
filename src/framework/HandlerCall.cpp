#include "framework/HandlerCall.h"

#include "framework/CException.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"

#include <new>

namespace {

constexpr UINT kInternalFailureText = 61704;

void ReportFailure(const char* text) {
  const CWinApp* app = AfxGetApp();
  const HWND owner = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->m_hWnd : nullptr;
  MessageBox(owner, text, app != nullptr ? app->m_pszAppName : nullptr, MB_OK | MB_ICONSTOP);
}

}  // namespace

LRESULT CallHandler(const MessageMapEntry& entry, CWnd& wnd, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = wnd.m_hWnd;
  char text[512] = {};
  try {
    return entry.handler(wnd, wParam, lParam);
  } catch (const CException& e) {
    e.GetErrorMessage(text, sizeof text);
  } catch (const std::bad_alloc&) {
    // A failed allocation carries no text of its own.
  }
  if (text[0] == '\0') LoadString(AfxGetInstanceHandle(), kInternalFailureText, text, sizeof text);
  if (entry.message == WM_PAINT) ValidateRect(hwnd, nullptr);
  ReportFailure(text);
  return entry.message == WM_CREATE ? -1 : 0;
}
