// A launcher window on the headless display whose patch download the tests
// start and step, in a scratch current directory, with the play and update
// buttons disabled as the update command leaves them.
#pragma once

#include "framework/CWinApp.h"
#include "framework/WindowRecord.h"
#include "shell/LauncherWindow.h"
#include "support/Headless.h"
#include "support/ProxyFreeEnvironment.h"
#include "support/ScratchFolder.h"
#include "update/UpdateAgent.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using testsupport::QuitPosted;

class DownloadWindow : public LauncherWindow {
 public:
  using LauncherWindow::DownloadPatch;
  // Starts a download with the site in lParam from inside a message handler,
  // as the update command does, so its failures meet the dispatch.
  static constexpr UINT WM_START_DOWNLOAD = WM_USER + 100;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{LauncherWindow::GetMessageMap(),
                                {msgmap::Message(WM_START_DOWNLOAD, &DownloadWindow::OnStartDownload)}};
    return &map;
  }
  LRESULT OnStartDownload(WPARAM, LPARAM site) {
    DownloadPatch(reinterpret_cast<const char*>(site));
    return 0;
  }
};

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearProxyEnvironment();
    window = new DownloadWindow;
    ASSERT_TRUE(window->CreateEx(0, nullptr, "Moravine", WS_POPUP, 0, 0, 640, 480, nullptr, 0));
    app.m_pMainWnd = window;
    hwnd = window->m_hWnd;
    DisableUpdateButtons();
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    ClearProxyEnvironment();
  }

  // The patch file, whole.
  std::string Patch() const { return work.Read("MRVPatch.exe"); }
  // Only the files that the test put there are in the game folder: no part
  // of a download is left.
  ::testing::AssertionResult NothingLeftBehind() const {
    for (const auto& entry : fs::directory_iterator(work.Path())) {
      const std::string name = entry.path().filename().string();
      if (name != "MRVPatch.exe" && name != "marker") return ::testing::AssertionFailure() << name << " is left";
    }
    return ::testing::AssertionSuccess();
  }
  // Starts a download from inside a message handler, as the update command
  // does, and runs the message loop until it has ended.
  ::testing::AssertionResult Download(const char* site) {
    SendMessage(hwnd, DownloadWindow::WM_START_DOWNLOAD, 0, reinterpret_cast<LPARAM>(site));
    if (!testsupport::PumpUntil([&] { return !window->m_bDownloading; }, std::chrono::seconds(30))) {
      return ::testing::AssertionFailure() << "the download does not end";
    }
    return ::testing::AssertionSuccess();
  }
  // A shell script of exactly `size` bytes that writes the marker file when started.
  std::string PatchScript(std::size_t size) const {
    std::string script = "#!/bin/sh\necho started > '" + Marker().string() + "'\nexit 0\n#";
    script.append(size - script.size() - 1, 'x');
    return script + "\n";
  }
  fs::path Marker() const { return work.Path() / "marker"; }
  // Polls cond for a started program's doing; true once it holds.
  static bool WaitFor(const std::function<bool()>& cond) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!cond()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  void DisableUpdateButtons() {
    window->m_buttons.EnableButton(1, FALSE, TRUE);
    window->m_buttons.EnableButton(2, FALSE, TRUE);
  }
  // The download has ended, let everything go and enabled play and update
  // again, and the launcher quits for the patch or does not.
  ::testing::AssertionResult Ended(bool quitting) const {
    if (window->m_bDownloading || window->m_pInternetSession != nullptr || window->m_pHttpConnection != nullptr ||
        window->m_pHttpFile != nullptr || window->m_pPatchFile != nullptr || window->m_nDownloadTimer != 0) {
      return ::testing::AssertionFailure() << "the download holds on";
    }
    if (window->m_buttons.GetAt(0)->m_nState == SBS_DISABLED || window->m_buttons.GetAt(1)->m_nState == SBS_DISABLED) {
      return ::testing::AssertionFailure() << "play or update stays disabled";
    }
    if (QuitPosted() != quitting) return ::testing::AssertionFailure() << (quitting ? "no quit" : "a quit");
    return ::testing::AssertionSuccess();
  }
  int Percent() const { return window->m_pUpdateAgent->m_nDownloadPercent; }
  const std::vector<platform::HeadlessDisplay::ShownMessageBox>& Boxes() const { return session.display.messageBoxes; }
  // The launcher's notice that the download is incomplete, owned by the window.
  ::testing::AssertionResult IsIncompleteNotice(const platform::HeadlessDisplay::ShownMessageBox& box) const {
    return testsupport::IsBox(box, "下載不完整，請重新執行線上更新。", "貼心小訊息 =_=a", hwnd->native);
  }

  ScratchFolder work;
  testsupport::HeadlessSession session;
  CWinApp app;
  DownloadWindow* window = nullptr;
  HWND hwnd = nullptr;
};
