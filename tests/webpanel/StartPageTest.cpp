// A launcher without a browser. The start page, online and offline (and so
// the system's network monitor that chooses it), is walked through by the
// web-panel test on the real program.
#include "support/Pixels.h"
#include "support/RunningLauncher.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

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
