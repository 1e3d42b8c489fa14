#include "shell/LauncherWindow.h"

#include "base/RectSize.h"
#include "framework/Resources.h"
#include "shell/WindowPlacement.h"
#include "update/UpdateAgent.h"

#include <cstring>

// The members are built first (web panel, then the empty button bar); the
// fields are then set in this order.
LauncherWindow::LauncherWindow() {
  m_nTimer = 0;
  m_nDownloadTimer = 0;
  std::memset(m_szVersionText, 0, sizeof m_szVersionText);
  std::memset(m_szProgressText, 0, sizeof m_szProgressText);
  m_pUpdateAgent = new UpdateAgent;
  m_rcVersionText = kVersionTextRect;
  m_rcProgressText = kProgressTextRect;
  m_rcWebPanel = kWebPanelRect;
  m_pInternetSession = nullptr;
  m_pHttpConnection = nullptr;
  m_pHttpFile = nullptr;
  m_pPatchFile = nullptr;
  m_dwPatchSize = 0;
  m_dwPatchReceived = 0;
  m_bDownloading = false;
}

LauncherWindow::~LauncherWindow() {
  ReleasePatchDownload();
  if (m_pUpdateAgent != nullptr) {
    delete m_pUpdateAgent;
    m_pUpdateAgent = nullptr;
  }
}

const MessageMap* LauncherWindow::GetMessageMap() const {
  static const MessageMap map{CWnd::GetThisMessageMap(),
                              {
                                  msgmap::Paint(&LauncherWindow::OnPaint),
                                  msgmap::Create(&LauncherWindow::OnCreate),
                                  msgmap::Destroy(&LauncherWindow::OnDestroy),
                                  msgmap::MouseMove(&LauncherWindow::OnMouseMove),
                                  msgmap::LButtonDown(&LauncherWindow::OnLButtonDown),
                                  msgmap::Timer(&LauncherWindow::OnTimer),
                                  msgmap::Close(&LauncherWindow::OnClose),
                                  msgmap::Message(WM_SKINBUTTON, &LauncherWindow::OnSkinButton),
                              }};
  return &map;
}

int LauncherWindow::OnCreate(CREATESTRUCT* create) {
  if (CWnd::OnCreate(create) == -1) {
    return -1;
  }
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, GetStyle(), HasMenu(), GetExStyle());
  SetWindowPos(nullptr, 0, 0, RectWidth(frame), RectHeight(frame), SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  RECT workArea{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
  const POINT place = CentreOnWorkArea(workArea);
  SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);

  m_wndWebPanel.Create(m_rcWebPanel, this, IDC_WEBPANEL, WS_CHILD | WS_VISIBLE);
  m_wndWebPanel.LoadFromResource(IDR_HTML_BLANK);

  for (const ButtonLayout& b : kButtons) {
    m_buttons.Add(new SkinButton(m_hWnd, b.x, kButtonTop, kButtonWidth, kButtonHeight, b.id, b.normal, b.hover,
                                 b.pressed, b.disabled));
  }
  m_pUpdateAgent->ReadInstalledVersion();
  m_nTimer = SetTimer(IDT_STARTUP, kStartupPeriodMs, nullptr);
  return 0;
}

void LauncherWindow::OnDestroy() {
  CWnd::OnDestroy();
  if (m_nTimer != 0) {
    KillTimer(m_nTimer);
    m_nTimer = 0;
  }
  m_wndWebPanel.DestroyWindow();
}

void LauncherWindow::PostNcDestroy() { delete this; }

void LauncherWindow::OnMouseMove(UINT, POINT point) { m_buttons.OnMouseMove(point.x, point.y); }

void LauncherWindow::OnLButtonDown(UINT, POINT point) { m_buttons.OnLButtonDown(point.x, point.y); }

void LauncherWindow::OnTimer(UINT_PTR id) {
  switch (id) {
    case IDT_STARTUP:
      ShowStartPage();
      break;
    case IDT_STATUS:
      UpdateStatusText();
      break;
    case IDT_DOWNLOAD:
      if (m_bDownloading) DownloadPatch(nullptr);
      break;
    default:
      break;
  }
  CWnd::OnTimer(id);
}

void LauncherWindow::OnClose() { CWnd::OnClose(); }
