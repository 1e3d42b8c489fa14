#include "app/LauncherApp.h"

#include "framework/DisplayBinding.h"
#include "framework/Resources.h"
#include "framework/WindowClass.h"
#include "shell/LauncherWindow.h"

#include <cstdio>
#include <memory>

BOOL LauncherApp::InitInstance() {
  auto window = std::make_unique<LauncherWindow>();
  m_pMainWnd = window.get();
  char title[256];
  LoadString(AfxGetInstanceHandle(), IDS_TITLE, title, sizeof title);
  const char* windowClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW), nullptr,
                                                LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_LAUNCHER)));
  if (!window->CreateEx(0, windowClass, title, WS_POPUP, 0, 0, 300, 200, nullptr, 0, nullptr)) {
    m_pMainWnd = nullptr;
    const std::string reason = DisplayFailureReason();
    std::fprintf(stderr, "%s: cannot create the launcher window: %s\n", m_pszAppName,
                 reason.empty() ? "the window system refused it" : reason.c_str());
    return FALSE;
  }
  // From here the window owns itself: it is deleted after its last message.
  LauncherWindow* shown = window.release();
  shown->ShowWindow(SW_SHOW);
  shown->UpdateWindow();
  return TRUE;
}
