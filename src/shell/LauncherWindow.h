// The launcher's one window: a borderless 640 by 480 pop-up holding the web
// panel, the picture buttons, two status lines and three timers.
#pragma once

#include "framework/CWnd.h"
#include "shell/ButtonBar.h"
#include "shell/LauncherConstants.h"
#include "webpanel/CHtmlCtrl.h"

class UpdateAgent;
class CInternetSession;
class CHttpConnection;
class CHttpFile;
class CFile;

class LauncherWindow : public CWnd {
 public:
  LauncherWindow();
  // Releases the update agent; the members go in reverse order of declaration.
  ~LauncherWindow() override;

  UINT_PTR m_nTimer;          // timer 1 until the start page, then timer 2; 0: none
  UINT_PTR m_nDownloadTimer;  // timer 3 while a download runs; 0: none
  char m_szVersionText[256];
  char m_szProgressText[256];
  RECT m_rcVersionText;
  RECT m_rcProgressText;
  RECT m_rcWebPanel;
  CHtmlCtrl m_wndWebPanel;
  ButtonBar m_buttons;
  UpdateAgent* m_pUpdateAgent;
  CInternetSession* m_pInternetSession;
  CHttpConnection* m_pHttpConnection;
  CHttpFile* m_pHttpFile;
  CFile* m_pPatchFile;
  DWORD m_dwPatchSize;
  DWORD m_dwPatchReceived;
  bool m_bDownloading;

  // A notice of the window's own: OK only, no icon, text and caption from
  // the string table.
  void ShowNotice(UINT textId, UINT captionId);
  // Play and update can be pressed again.
  void EnableUpdateButtons();
  // Ends a download that is still under way without finishing it: the part
  // of the patch written so far is removed (an earlier patch stays as it
  // was), the transfer and its objects are released, the download timer is
  // killed and m_bDownloading is false. Nothing is started or shown.
  void ReleasePatchDownload();

 protected:
  const MessageMap* GetMessageMap() const override;
  // The object goes with its window, once the handlers running on it have returned.
  void PostNcDestroy() override;

  void OnPaint();
  int OnCreate(CREATESTRUCT* create);
  void OnDestroy();
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonDown(UINT flags, POINT point);
  void OnTimer(UINT_PTR id);
  void OnClose();
  LRESULT OnSkinButton(WPARAM state, LPARAM button);

  // First tick of the start-up timer: the start page, then the status timer.
  void ShowStartPage();
  // Every tick of the status timer: the version and progress lines.
  void UpdateStatusText();
  // With a site, starts a patch download; without, runs one step of it.
  void DownloadPatch(const char* site);
  // The command of the button with that id. A command that waits (a server
  // query, a message box) may find the window closed meanwhile (m_hWnd
  // null); it then returns without touching the window's state.
  void RunCommand(int id);
  // Command 1: starts the game and quits, or says it could not.
  void PlayGame();
  // Command 2: asks the update server for the current version and, when it
  // is newer, for the patch's address, then downloads the patch.
  void RunOnlineUpdate();
  // Commands 3 and 6: the page in the desktop's browser, else in the panel.
  void OpenWebPage(const char* url);
};
