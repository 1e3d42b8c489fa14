#include "framework/ConnectedState.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/ShellExecute.h"
#include "shell/DrawSkinButton.h"
#include "shell/LauncherWindow.h"
#include "shell/OpenPage.h"
#include "shell/RunProgram.h"
#include "update/UpdateAgent.h"
#include "update/WebHost.h"

#include <string>

void LauncherWindow::ShowNotice(UINT textId, UINT captionId) {
  char text[256];
  char caption[256];
  LoadString(AfxGetInstanceHandle(), textId, text, sizeof text);
  LoadString(AfxGetInstanceHandle(), captionId, caption, sizeof caption);
  MessageBox(m_hWnd, text, caption, MB_OK);
}

void LauncherWindow::EnableUpdateButtons() {
  m_buttons.EnableButton(ID_PLAY, TRUE, TRUE);
  m_buttons.EnableButton(ID_ONLINE_UPDATE, TRUE, TRUE);
}

LRESULT LauncherWindow::OnSkinButton(WPARAM state, LPARAM lParam) {
  const auto* button = reinterpret_cast<const SkinButton*>(lParam);
  HDC hdc = GetDC();
  DrawSkinButton(hdc, AfxGetInstanceHandle(), button);
  ReleaseDC(hdc);
  if (state == SBS_PRESSED) {
    RunCommand(button->m_nId);
  }
  return 0;
}

void LauncherWindow::RunCommand(int id) {
  switch (id) {
    case ID_PLAY:
      PlayGame();
      break;
    case ID_ONLINE_UPDATE:
      RunOnlineUpdate();
      break;
    case ID_SIGN_UP:
      OpenWebPage(SignUpPageUrl().c_str());
      break;
    case ID_README:
      ShellExecute(m_hWnd, "open", kReadmeFile, nullptr, nullptr, SW_SHOWNORMAL);
      break;
    case ID_JOYSTICK_SETUP:
      RunProgram(kJoystickSetupProgram);
      break;
    case ID_RECRUITMENT:
      OpenWebPage(RecruitmentPageUrl().c_str());
      break;
    case ID_LEAVE:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
}

void LauncherWindow::PlayGame() {
  m_buttons.EnableButton(ID_PLAY, FALSE, TRUE);
  if (RunProgram(kGameProgram)) {
    PostQuitMessage(0);
    return;
  }
  if (m_hWnd == nullptr) {
    return;
  }
  ShowNotice(IDS_PLAY_FAILED, IDS_CAPTION_TROUBLE);
  m_buttons.EnableButton(ID_PLAY, TRUE, TRUE);
}

void LauncherWindow::RunOnlineUpdate() {
  m_buttons.EnableButton(ID_PLAY, FALSE, TRUE);
  m_buttons.EnableButton(ID_ONLINE_UPDATE, FALSE, TRUE);
  DWORD flags = 0;
  if (!InternetGetConnectedState(&flags, 0)) {
    ShowNotice(IDS_NOT_CONNECTED, IDS_CAPTION_TROUBLE);
    EnableUpdateButtons();
    return;
  }
  // A failed query says nothing, but the player may try again. A window
  // closed during a query ends the command.
  const bool versionKnown = m_pUpdateAgent->QueryLatestVersion(VersionQueryUrl().c_str());
  if (m_hWnd == nullptr) {
    return;
  }
  if (!versionKnown) {
    EnableUpdateButtons();
    return;
  }
  if (!m_pUpdateAgent->IsUpdateAvailable()) {
    ShowNotice(IDS_UP_TO_DATE, IDS_CAPTION_GOOD_NEWS);
    EnableUpdateButtons();
    return;
  }
  // A server without a download has said so in the query.
  const bool siteKnown = m_pUpdateAgent->QueryDownloadSite(DownloadSiteQueryUrl().c_str());
  if (m_hWnd == nullptr) {
    return;
  }
  if (!siteKnown) {
    EnableUpdateButtons();
    return;
  }
  // The download enables both buttons again when it ends.
  DownloadPatch(m_pUpdateAgent->GetDownloadSite());
}

void LauncherWindow::OpenWebPage(const char* url) {
  if (!OpenPageOutside(m_hWnd, url)) {
    m_wndWebPanel.Navigate(url);
  }
}
