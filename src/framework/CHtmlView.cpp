#include "framework/CHtmlView.h"

#include "base/NarrowText.h"
#include "base/RectSize.h"
#include "framework/BrowserBinding.h"
#include "framework/ModuleFile.h"
#include "framework/NativeWindow.h"
#include "framework/Resources.h"
#include "platform/ui/BrowserAddress.h"

#include <cstdio>

BOOL CHtmlView::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT id, void* context) {
  if (!CWnd::Create(className, windowName, style | WS_CLIPCHILDREN, rect, parent, id, context)) {
    return FALSE;
  }
  platform::BrowserEngine* engine = CurrentBrowserEngine();
  m_pBrowserApp = engine != nullptr
                      ? engine->CreateBrowser(NativeWindowOf(m_hWnd), {0, 0, RectWidth(rect), RectHeight(rect)}, *this)
                      : nullptr;
  if (m_pBrowserApp == nullptr) {
    DestroyWindow();
    return FALSE;
  }
  return TRUE;
}

BOOL CHtmlView::LoadFromResource(UINT nResId) {
  char module[MAX_PATH];
  if (GetModuleFileName(AfxGetInstanceHandle(), module, MAX_PATH) == 0) {
    return FALSE;
  }
  char url[MAX_PATH + 32];
  std::snprintf(url, sizeof url, "res://%s/%u", module, nResId);
  Navigate(url);
  return TRUE;
}

void CHtmlView::Navigate(const char* url) {
  if (m_pBrowserApp == nullptr || url == nullptr || *url == '\0') {
    return;
  }
  const std::optional<std::string> utf8 = Utf8FromLocaleExact(url);
  const std::optional<std::string> uri = utf8 ? platform::BrowserUri(*utf8) : std::nullopt;
  if (uri) {
    m_pBrowserApp->Navigate(*uri);
  }
}

void CHtmlView::PostNcDestroy() { delete this; }

platform::MouseAnswer CHtmlView::MouseActivate() {
  HWND top = m_hWnd;
  while (GetParent(top) != nullptr) {
    top = GetParent(top);
  }
  const LRESULT answer =
      ::SendMessage(m_hWnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  return {answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT,
          answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT};
}

std::optional<std::string> CHtmlView::HtmlResource(unsigned id) { return LoadHtmlResource(AfxGetInstanceHandle(), id); }
