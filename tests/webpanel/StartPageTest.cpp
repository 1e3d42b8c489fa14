// The launcher window's web panel: the blank page at creation, the start page
// on the first tick (the news page when connected, the current directory's
// default.htm when not), the timers it arms, and a launcher without a browser.
#include "framework/ConnectedState.h"
#include "platform/network/NetworkState.h"
#include "platform/process/ProgramFile.h"
#include "support/Locale.h"
#include "support/Pixels.h"
#include "support/RunningLauncher.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using testsupport::PumpUntil;

class FixedNetworkState final : public platform::NetworkState {
 public:
  bool available = false;
  bool IsNetworkAvailable() override { return available; }
};

class StartPageTest : public ::testing::Test, protected testsupport::RunningLauncher {
 protected:
  void SetUp() override {
    platform::UseNetworkState(&network);
    setenv("MORAVINE_WEB_HOST", "news.example", 1);
  }

  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);  // while the network state is there
    unsetenv("MORAVINE_WEB_HOST");
    platform::UseNetworkState(nullptr);
  }

  // Starts the launcher and runs it until the start page has been chosen.
  std::vector<std::string> StartPageNavigations() {
    Start();
    EXPECT_TRUE(UntilStatusTimer());
    return session.browsers.Pages().at(0)->navigations;
  }

  ScratchFolder work;
  FixedNetworkState network;
};

// Run by the tests' CMake inside private network namespaces, once with a
// default route and once without; EXPECT_NETWORK tells which.
TEST(ConnectedState, TheSystemsMonitorSeesWhetherThereIsARoute) {
  const char* expected = std::getenv("EXPECT_NETWORK");
  if (expected == nullptr) {
    GTEST_SKIP() << "runs only in a network namespace of known state";
  }
  EXPECT_EQ(InternetGetConnectedState(nullptr, 0), std::string(expected) == "1" ? TRUE : FALSE);
}

TEST_F(StartPageTest, TheBlankPageComesAtCreationAndTheStartPageOnTheFirstTick) {
  network.available = true;
  Start();
  ASSERT_EQ(session.browsers.Pages().size(), 1u);
  const auto& page = *session.browsers.Pages()[0];
  EXPECT_EQ(page.window, window->m_wndWebPanel.m_hWnd->native);
  EXPECT_EQ(page.navigations, std::vector<std::string>{"res://" + platform::ProgramFilePath().value() + "/101"});
  EXPECT_EQ(window->m_nTimer, IDT_STARTUP);
  EXPECT_EQ(window->m_nDownloadTimer, 0u);

  ASSERT_TRUE(PumpUntil([&] { return page.navigations.size() == 2; }));
  EXPECT_EQ(page.navigations[1], "http://news.example/MRV/loader/SP/index.htm");
  EXPECT_EQ(window->m_nTimer, IDT_STATUS) << "armed after the start page";
  EXPECT_EQ(window->m_nDownloadTimer, 0u) << "the download timer waits for a download";

  // Timer 1 is gone: the status timer ticks on and the page stays.
  ASSERT_TRUE(PumpUntil([&] { return window->m_szVersionText[0] != '\0'; }));
  network.available = false;
  window->m_szVersionText[0] = '\0';
  ASSERT_TRUE(PumpUntil([&] { return window->m_szVersionText[0] != '\0'; }));
  EXPECT_EQ(page.navigations.size(), 2u);
}

TEST_F(StartPageTest, OfflineTheCurrentDirectorysDefaultPageIsShown) {
  std::filesystem::create_directory(work.Path() / "moravine game 遊戲");
  std::filesystem::current_path(work.Path() / "moravine game 遊戲");
  const LocaleScope big5("zh_TW.BIG5");
  ASSERT_TRUE(big5.ok()) << kNoBig5;
  const std::vector<std::string> navigations = StartPageNavigations();
  ASSERT_EQ(navigations.size(), 2u);
  EXPECT_EQ(navigations[1], "file://" + work.Path().string() + "/moravine%20game%20%E9%81%8A%E6%88%B2/default.htm");
}

TEST_F(StartPageTest, WithoutABrowserTheLauncherRunsOnWithTheBackgroundInThePanelsPlace) {
  session.browsers.failure = true;
  network.available = true;
  Start();
  EXPECT_FALSE(IsWindow(window->m_wndWebPanel.m_hWnd));
  ASSERT_TRUE(UntilStatusTimer());
  EXPECT_TRUE(
      testsupport::Differences(*GetBackingStore(hwnd), testsupport::Picture(51), window->m_rcWebPanel).IsEmpty());
}

}  // namespace
