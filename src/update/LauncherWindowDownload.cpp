// The patch download: the program at the download site is fetched into
// "MRVPatch.exe" in the current directory, at most 512 bytes per tick of the
// download timer so the window stays responsive, then started while the
// launcher closes. The download timer runs only while a download does. No
// tick waits for the network: the reply's headers and each block are taken
// when they have come. The patch is written under a name of its own and
// becomes "MRVPatch.exe" only once it is whole, so a download that fails or
// is left never touches an earlier patch.
#include "framework/CFile.h"
#include "framework/CWinApp.h"
#include "framework/Internet.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "shell/LauncherWindow.h"
#include "shell/RunProgram.h"
#include "update/PatchSize.h"
#include "update/UpdateAgent.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <string>

namespace {

constexpr UINT kBlockSize = 512;

const char* AppName() {
  const CWinApp* app = AfxGetApp();
  return app != nullptr ? app->m_pszAppName : nullptr;
}

// Request, connection and session, closed and deleted in that order; the
// download timer, which runs only while a download does, goes with them.
void ReleaseTransfer(LauncherWindow& w) {
  if (w.m_nDownloadTimer != 0) {
    w.KillTimer(w.m_nDownloadTimer);
    w.m_nDownloadTimer = 0;
  }
  if (w.m_pHttpFile != nullptr) w.m_pHttpFile->Close();
  delete w.m_pHttpFile;
  w.m_pHttpFile = nullptr;
  delete w.m_pHttpConnection;
  w.m_pHttpConnection = nullptr;
  delete w.m_pInternetSession;
  w.m_pInternetSession = nullptr;
}

// Opens the request and sends it; its reply is awaited on the ticks.
void StartDownload(LauncherWindow& w, const char* site) {
  assert(w.m_pHttpFile == nullptr && !w.m_bDownloading);
  w.m_pInternetSession = new CInternetSession;
  std::string server;
  std::string object;
  INTERNET_PORT port = 0;
  AfxParseURL(site, server, object, port);
  w.m_pHttpConnection = w.m_pInternetSession->GetHttpConnection(server.c_str(), port);
  w.m_pHttpFile = w.m_pHttpConnection->OpenRequest(object.c_str());
  w.m_pHttpFile->SendRequest();
  w.m_dwPatchSize = 0;
  w.m_dwPatchReceived = 0;
  w.m_pUpdateAgent->m_nDownloadPercent = 0;
  w.m_bDownloading = true;
  w.m_nDownloadTimer = w.SetTimer(IDT_DOWNLOAD, kDownloadPeriodMs, nullptr);
}

// Once the reply's headers are in: a reply that is not a success ends the
// download before any file is made; otherwise the file is created and the
// announced size read. True when the blocks may follow.
bool OpenPatchFile(LauncherWindow& w) {
  DWORD status = 0;
  if (!w.m_pHttpFile->QueryInfoStatusCode(status) || status < 200 || status > 299) {
    w.ReleasePatchDownload();
    w.ShowNotice(IDS_DOWNLOAD_INCOMPLETE, IDS_CAPTION_TROUBLE);
    w.EnableUpdateButtons();
    return false;
  }
  auto file = std::make_unique<CFile>();
  if (!file->Create(kPatchPartFile)) {
    w.ReleasePatchDownload();
    MessageBox(w.m_hWnd, "Couldn't create the file!", AppName(), MB_OK);
    w.EnableUpdateButtons();
    return false;
  }
  w.m_pPatchFile = file.release();
  char length[64] = {};
  DWORD room = sizeof length;
  w.m_dwPatchSize = w.m_pHttpFile->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, length, &room) ? ParseSize(length) : 0;
  w.m_dwPatchReceived = 0;
  return true;
}

// A whole patch is kept as "MRVPatch.exe" and started, and the launcher
// closes; one that came short, or that the system refuses to start, is
// reported instead. No size: nothing is kept and nothing happens.
void FinishDownload(LauncherWindow& w) {
  const bool whole = w.m_dwPatchSize != 0 && w.m_dwPatchReceived >= w.m_dwPatchSize;
  if (whole) w.m_pPatchFile->Commit(kPatchFile);
  delete w.m_pPatchFile;
  w.m_pPatchFile = nullptr;
  ReleaseTransfer(w);
  if (w.m_dwPatchSize != 0) {
    if (whole && RunProgram(kPatchFile)) {
      PostQuitMessage(0);
    } else {
      w.ShowNotice(IDS_DOWNLOAD_INCOMPLETE, IDS_CAPTION_TROUBLE);
    }
  }
  w.EnableUpdateButtons();
}

// What has come of the body, one block at most, written and counted. The
// download goes on until the announced size has come or the body ends.
void StepDownload(LauncherWindow& w) {
  DWORD available = 0;
  if (!w.m_pHttpFile->QueryDataAvailable(&available)) return;
  char block[kBlockSize];
  const UINT count = available == 0 ? 0 : w.m_pHttpFile->Read(block, std::min<UINT>(available, kBlockSize));
  if (w.m_dwPatchSize == 0 || count == 0) {
    w.m_bDownloading = false;
  } else {
    w.m_pPatchFile->Write(block, count);
    w.m_dwPatchReceived += count;
    w.m_pUpdateAgent->m_nDownloadPercent = Percent(w.m_dwPatchReceived, w.m_dwPatchSize);
    w.m_bDownloading = w.m_dwPatchReceived < w.m_dwPatchSize;
  }
  if (!w.m_bDownloading) FinishDownload(w);
}

}  // namespace

void LauncherWindow::ReleasePatchDownload() {
  m_bDownloading = false;
  delete m_pPatchFile;
  m_pPatchFile = nullptr;
  ReleaseTransfer(*this);
}

// With a site: starts the download. Without: the running download's next
// step, when what it waits for has come. A failure that the internet or file
// classes raise ends the download cleanly, with the play and update buttons
// back, before it goes on to the dispatch, so no later tick steps a broken
// transfer.
void LauncherWindow::DownloadPatch(const char* site) {
  try {
    if (site != nullptr) {
      StartDownload(*this, site);
      return;
    }
    if (m_pHttpFile == nullptr) return;
    if (m_pPatchFile == nullptr) {
      if (!m_pHttpFile->IsReplyReady() || !OpenPatchFile(*this)) return;
    }
    StepDownload(*this);
  } catch (...) {
    ReleasePatchDownload();
    EnableUpdateButtons();
    throw;
  }
}
