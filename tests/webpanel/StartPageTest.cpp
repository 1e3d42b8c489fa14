// The connected state that chooses the start page, and a launcher without a
// browser. The start page itself, online and offline, is walked through by
// the web-panel test on the real program.
#include "framework/ConnectedState.h"
#include "support/Pixels.h"
#include "support/RunningLauncher.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Run by the tests' CMake inside private network namespaces, once with a
// default route and once without; EXPECT_NETWORK tells which.
TEST(ConnectedState, TheSystemsMonitorSeesWhetherThereIsARoute) {
  const char* expected = std::getenv("EXPECT_NETWORK");
  if (expected == nullptr) {
    GTEST_SKIP() << "runs only in a network namespace of known state";
  }
  EXPECT_EQ(InternetGetConnectedState(nullptr, 0), std::string(expected) == "1" ? TRUE : FALSE);
}

TEST(StartPage, WithoutABrowserTheLauncherRunsOnWithTheBackgroundInThePanelsPlace) {
  const ScratchFolder work;
  testsupport::RunningLauncher launcher;
  launcher.session.browsers.failure = true;
  launcher.Start();
  EXPECT_FALSE(IsWindow(launcher.window->m_wndWebPanel.m_hWnd));
  ASSERT_TRUE(launcher.UntilStatusTimer()) << "the start page's tick went by";
  EXPECT_TRUE(
      testsupport::Differences(*GetBackingStore(launcher.hwnd), testsupport::Picture(51), launcher.window->m_rcWebPanel)
          .IsEmpty());
}

}  // namespace
