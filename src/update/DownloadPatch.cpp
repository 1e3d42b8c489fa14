// The patch download: the program at the download site is fetched into
// "MRVPatch.exe" in the current directory, 512 bytes per tick of the download
// timer so the window stays responsive, then started while the launcher
// closes.
#include "update/DownloadPatch.h"

#include "framework/CFile.h"
#include "framework/CWinApp.h"
#include "framework/Internet.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "shell/LauncherWindow.h"
#include "shell/RunProgram.h"
#include "update/PatchSize.h"
#include "update/UpdateAgent.h"

#include <memory>
#include <string>

namespace {

constexpr char kPatchFileName[] = "MRVPatch.exe";
constexpr UINT kBlockSize = 512;
constexpr UINT kIncompleteText = 4;  // the download is incomplete; run the update again
constexpr UINT kNoticeCaption = 9;

const char* AppName() {
  const CWinApp* app = AfxGetApp();
  return app != nullptr ? app->m_pszAppName : nullptr;
}

void EnableUpdateButtons(LauncherWindow& w) {
  w.m_buttons.EnableButton(1, TRUE, TRUE);
  w.m_buttons.EnableButton(2, TRUE, TRUE);
}

void ShowIncomplete(LauncherWindow& w) {
  char text[256];
  char caption[256];
  LoadString(AfxGetInstanceHandle(), kIncompleteText, text, sizeof text);
  LoadString(AfxGetInstanceHandle(), kNoticeCaption, caption, sizeof caption);
  MessageBox(w.m_hWnd, text, caption, MB_OK);
}

// Request, connection and session, closed and deleted in that order.
void ReleaseTransfer(LauncherWindow& w) {
  if (w.m_pHttpFile != nullptr) w.m_pHttpFile->Close();
  delete w.m_pHttpFile;
  w.m_pHttpFile = nullptr;
  delete w.m_pHttpConnection;
  w.m_pHttpConnection = nullptr;
  delete w.m_pInternetSession;
  w.m_pInternetSession = nullptr;
}

// Opens the request, waits for the reply's headers, then creates the file
// and reads the announced size. A failure to reach the server leaves an
// earlier file untouched and its exception goes on to the dispatch; either
// failure releases what was made and enables the play and update buttons
// again. False when the download has ended here.
bool StartDownload(LauncherWindow& w, const char* site) {
  try {
    w.m_pInternetSession = new CInternetSession;
    std::string server;
    std::string object;
    INTERNET_PORT port = 0;
    AfxParseURL(site, server, object, port);
    w.m_pHttpConnection = w.m_pInternetSession->GetHttpConnection(server.c_str(), port);
    w.m_pHttpFile = w.m_pHttpConnection->OpenRequest(object.c_str());
    w.m_pHttpFile->SendRequest();
    auto file = std::make_unique<CFile>();
    if (!file->Create(kPatchFileName)) {
      MessageBox(w.m_hWnd, "Couldn't create the file!", AppName(), MB_OK);
      ReleasePatchDownload(w);
      EnableUpdateButtons(w);
      return false;
    }
    w.m_pPatchFile = file.release();
    char length[64] = {};
    DWORD room = sizeof length;
    w.m_dwPatchSize = w.m_pHttpFile->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, length, &room) ? ParseSize(length) : 0;
    w.m_dwPatchReceived = 0;
    return true;
  } catch (...) {
    ReleasePatchDownload(w);
    EnableUpdateButtons(w);
    throw;
  }
}

// The file is closed and the transfer released. A complete patch is started
// and the launcher closes; a patch that came short, or that the system
// refuses to start, is reported instead. No size: nothing happens.
void FinishDownload(LauncherWindow& w) {
  delete w.m_pPatchFile;
  w.m_pPatchFile = nullptr;
  ReleaseTransfer(w);
  if (w.m_dwPatchSize != 0) {
    if (w.m_dwPatchReceived >= w.m_dwPatchSize && RunProgram(kPatchFileName)) {
      PostQuitMessage(0);
    } else {
      ShowIncomplete(w);
    }
  }
  EnableUpdateButtons(w);
}

// One block: read, written and counted. The download goes on while the
// announced size is not reached and the block was whole. A failed read or
// write ends the download cleanly before its exception goes on to the
// dispatch, so no later tick steps a broken transfer.
void StepDownload(LauncherWindow& w) {
  char block[kBlockSize];
  try {
    const UINT count = w.m_pHttpFile->Read(block, kBlockSize);
    if (w.m_dwPatchSize == 0 || count == 0) {
      w.m_bDownloading = false;
    } else {
      w.m_pPatchFile->Write(block, count);
      w.m_dwPatchReceived += count;
      w.m_pUpdateAgent->m_nDownloadPercent = Percent(w.m_dwPatchReceived, w.m_dwPatchSize);
      w.m_bDownloading = w.m_dwPatchReceived < w.m_dwPatchSize && count == kBlockSize;
    }
    if (w.m_bDownloading) return;
    w.m_pPatchFile->Close();
    FinishDownload(w);
  } catch (...) {
    ReleasePatchDownload(w);
    EnableUpdateButtons(w);
    throw;
  }
}

}  // namespace

void ReleasePatchDownload(LauncherWindow& w) {
  w.m_bDownloading = false;
  if (w.m_pPatchFile != nullptr) w.m_pPatchFile->Abort();
  delete w.m_pPatchFile;
  w.m_pPatchFile = nullptr;
  ReleaseTransfer(w);
}

// With a site: starts the download and runs its first step at once. Without:
// one step of the running download, if one runs.
void LauncherWindow::DownloadPatch(const char* site) {
  if (site != nullptr && !StartDownload(*this, site)) return;
  if (m_pHttpFile == nullptr) return;
  StepDownload(*this);
}
