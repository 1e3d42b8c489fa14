#include "shell/LauncherWindow.h"

#include "framework/Resources.h"
#include "shell/WindowPlacement.h"
#include "update/DownloadPatch.h"
#include "update/UpdateAgent.h"

#include <cstring>

namespace {

struct ButtonLayout {
  int id;
  int x;
  int normal;
  int hover;
  int pressed;
  int disabled;
};

// Left to right: play, online update, member sign-up, read-me, joystick
// set-up, recruitment, leave. All 89 by 30 at y 446.
constexpr ButtonLayout kButtons[] = {
    {1, 5, 52, 53, 53, 54},   {2, 95, 55, 56, 56, 57},  {3, 185, 58, 59, 59, 58}, {4, 275, 61, 62, 62, 61},
    {5, 365, 64, 65, 65, 66}, {6, 455, 67, 68, 68, 67}, {7, 545, 70, 71, 71, 70},
};
constexpr int kButtonTop = 446;
constexpr int kButtonWidth = 89;
constexpr int kButtonHeight = 30;

}  // namespace

// The members are built first (web panel, then the empty button bar); the
// fields are then set in this order.
LauncherWindow::LauncherWindow() {
  m_nTimer = 0;
  m_nDownloadTimer = 0;
  std::memset(m_szVersionText, 0, sizeof m_szVersionText);
  std::memset(m_szProgressText, 0, sizeof m_szProgressText);
  m_pUpdateAgent = new UpdateAgent;
  m_rcVersionText = RECT{7, 430, 157, 445};
  m_rcProgressText = RECT{480, 430, 630, 445};
  m_rcWebPanel = RECT{7, 86, 632, 427};
  m_pInternetSession = nullptr;
  m_pHttpConnection = nullptr;
  m_pHttpFile = nullptr;
  m_pPatchFile = nullptr;
  m_dwPatchSize = 0;
  m_dwPatchReceived = 0;
  m_bDownloading = false;
}

LauncherWindow::~LauncherWindow() {
  ReleasePatchDownload(*this);
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
  SetWindowPos(nullptr, 0, 0, frame.Width(), frame.Height(), SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  RECT workArea{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
  const POINT place = CentreOnWorkArea(workArea);
  SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);

  m_wndWebPanel.Create(m_rcWebPanel, this, IDC_WEBPANEL, WS_CHILD | WS_VISIBLE);
  m_wndWebPanel.LoadFromResource(101);

  for (const ButtonLayout& b : kButtons) {
    m_buttons.Add(new SkinButton(m_hWnd, b.x, kButtonTop, kButtonWidth, kButtonHeight, b.id, b.normal, b.hover,
                                 b.pressed, b.disabled));
  }
  m_pUpdateAgent->ReadInstalledVersion();
  m_nTimer = SetTimer(IDT_STARTUP, 0, nullptr);
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
