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

namespace {

// String-table entries of the commands' notices.
constexpr UINT IDS_UP_TO_DATE = 2;
constexpr UINT IDS_NOT_CONNECTED = 3;
constexpr UINT IDS_PLAY_FAILED = 7;
constexpr UINT IDS_CAPTION_GOOD_NEWS = 8;
constexpr UINT IDS_CAPTION_TROUBLE = 9;

// A notice of the window's own: OK only, no icon, text and caption from the
// string table.
void ShowNotice(HWND owner, UINT text, UINT caption) {
  char textBuffer[256];
  char captionBuffer[256];
  LoadString(AfxGetInstanceHandle(), text, textBuffer, sizeof textBuffer);
  LoadString(AfxGetInstanceHandle(), caption, captionBuffer, sizeof captionBuffer);
  MessageBox(owner, textBuffer, captionBuffer, MB_OK);
}

// Play and update can be pressed again.
void EnableUpdateButtons(ButtonBar& buttons) {
  buttons.EnableButton(1, TRUE, TRUE);
  buttons.EnableButton(2, TRUE, TRUE);
}

}  // namespace

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
    case 1:
      PlayGame();
      break;
    case 2:
      RunOnlineUpdate();
      break;
    case 3:
      OpenWebPage(SignUpPageUrl().c_str());
      break;
    case 4:
      ShellExecute(m_hWnd, "open", "readmeSP.txt", nullptr, nullptr, SW_SHOWNORMAL);
      break;
    case 5:
      RunProgram("MRVJoyStickSetup.dat");
      break;
    case 6:
      OpenWebPage(RecruitmentPageUrl().c_str());
      break;
    case 7:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
}

void LauncherWindow::PlayGame() {
  m_buttons.EnableButton(1, FALSE, TRUE);
  if (RunProgram("MRVSP.dat")) {
    PostQuitMessage(0);
    return;
  }
  if (m_hWnd == nullptr) {
    return;
  }
  ShowNotice(m_hWnd, IDS_PLAY_FAILED, IDS_CAPTION_TROUBLE);
  m_buttons.EnableButton(1, TRUE, TRUE);
}

void LauncherWindow::RunOnlineUpdate() {
  m_buttons.EnableButton(1, FALSE, TRUE);
  m_buttons.EnableButton(2, FALSE, TRUE);
  DWORD flags = 0;
  if (!InternetGetConnectedState(&flags, 0)) {
    ShowNotice(m_hWnd, IDS_NOT_CONNECTED, IDS_CAPTION_TROUBLE);
    EnableUpdateButtons(m_buttons);
    return;
  }
  // A failed query says nothing, but the player may try again. A window
  // closed during a query ends the command.
  const bool versionKnown = m_pUpdateAgent->QueryLatestVersion(VersionQueryUrl().c_str());
  if (m_hWnd == nullptr) {
    return;
  }
  if (!versionKnown) {
    EnableUpdateButtons(m_buttons);
    return;
  }
  if (!m_pUpdateAgent->IsUpdateAvailable()) {
    ShowNotice(m_hWnd, IDS_UP_TO_DATE, IDS_CAPTION_GOOD_NEWS);
    EnableUpdateButtons(m_buttons);
    return;
  }
  // A server without a download has said so in the query.
  const bool siteKnown = m_pUpdateAgent->QueryDownloadSite(DownloadSiteQueryUrl().c_str());
  if (m_hWnd == nullptr) {
    return;
  }
  if (!siteKnown) {
    EnableUpdateButtons(m_buttons);
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
