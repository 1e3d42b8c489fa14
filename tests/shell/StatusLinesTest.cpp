// The progress line on the headless display: it shows only while a download
// runs. What the version and progress lines look like, pixel for pixel, is
// checked against reference pictures by the end-to-end tests
// (every-button.sh, php-host.sh).
#include "base/NarrowText.h"
#include "support/Pixels.h"
#include "support/RunningLauncher.h"
#include "update/UpdateAgent.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using testsupport::Differences;
using testsupport::Picture;

constexpr RECT kProgress{480, 430, 630, 445};

// The window with the demo's registry, its timers armed and no download
// steps running.
class StatusLinesTest : public ::testing::Test, protected testsupport::RunningLauncher {
 protected:
  StatusLinesTest() { setenv("WINEPREFIX", DEMO_PREFIX, 1); }
  ~StatusLinesTest() override { unsetenv("WINEPREFIX"); }

  const platform::Surface& Screen() const { return *GetBackingStore(hwnd); }
};

TEST_F(StatusLinesTest, TheProgressLineShowsWhileDownloadingAndGoesWithTheDownload) {
  Start();
  ASSERT_TRUE(UntilStatusTimer());
  KillTimer(hwnd, IDT_DOWNLOAD);
  window->m_bDownloading = true;
  window->m_pUpdateAgent->m_nDownloadPercent = 42;
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Utf8FromLocale(window->m_szProgressText) == "目前已下載：42 %"; }));
  testsupport::PumpPending();
  EXPECT_FALSE(Differences(Screen(), Picture(51), kProgress).IsEmpty()) << "no progress line while downloading";

  window->m_bDownloading = false;
  window->InvalidateRect(nullptr, FALSE);
  UpdateWindow(hwnd);
  EXPECT_TRUE(Differences(Screen(), Picture(51), kProgress).IsEmpty()) << "the progress line stays after the download";
}

}  // namespace
