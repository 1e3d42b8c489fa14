// The two status lines on the headless display, read as pixels: what a
// status tick changes and shows, and where the version and progress lines put
// their ink.
#include "base/NarrowText.h"
#include "framework/Region.h"
#include "support/Pixels.h"
#include "support/RunningLauncher.h"
#include "update/UpdateAgent.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testsupport::Differences;
using testsupport::PumpPending;
using testsupport::PumpUntil;

constexpr RECT kVersion{7, 430, 157, 445};
constexpr RECT kProgress{480, 430, 630, 445};

// The window with the demo's registry (installed version 2.0.1.0.3), its
// timers armed and no download steps running.
class StatusLinesTest : public ::testing::Test, protected testsupport::RunningLauncher {
 protected:
  StatusLinesTest() { setenv("WINEPREFIX", DEMO_PREFIX, 1); }
  ~StatusLinesTest() override { unsetenv("WINEPREFIX"); }

  const platform::Surface& Screen() const { return *GetBackingStore(hwnd); }
  const std::vector<platform::ScreenRect>& Presented() { return session.display.Find(hwnd->native)->presented; }

  // Runs until the next status tick has been painted; returns what it presented.
  std::vector<platform::ScreenRect> NextTick() {
    const std::size_t before = Presented().size();
    window->m_szVersionText[0] = '\0';  // each tick writes the line again
    EXPECT_TRUE(PumpUntil([&] { return window->m_szVersionText[0] != '\0'; }));
    PumpPending();
    return {Presented().begin() + static_cast<std::ptrdiff_t>(before), Presented().end()};
  }
};

TEST_F(StatusLinesTest, AStatusTickRepaintsOnlyTheVersionLineOrWhileDownloadingAlsoTheRightAlignedProgressLine) {
  Start();
  ASSERT_TRUE(UntilStatusTimer());
  KillTimer(hwnd, IDT_DOWNLOAD);
  const platform::Surface before = Screen();
  const std::vector<platform::ScreenRect> presented = NextTick();
  EXPECT_EQ(Utf8FromLocale(window->m_szVersionText), "版本：2.0.1.0.3");
  ASSERT_EQ(presented.size(), 1u) << "one rectangle shown";
  EXPECT_EQ(testsupport::AsRect(presented[0]), kVersion);

  const RECT ink = Differences(before, Screen());
  ASSERT_FALSE(ink.IsEmpty()) << "the version line shows";
  RECT within;
  ASSERT_TRUE(IntersectRect(&within, ink, kVersion));
  EXPECT_EQ(within, ink) << "nothing changes outside (7,430)-(157,445)";
  EXPECT_LT(ink.top, kVersion.top + 5) << "the line starts at the rectangle's top";
  EXPECT_LT(ink.left, kVersion.left + 3) << "left-aligned";
  EXPECT_LT(ink.right, kVersion.right - 20) << "the line is shorter than its field";

  // Later ticks redraw the same line over the background, not over the old
  // text, and what did not change is not shown again.
  const platform::Surface drawn = Screen();
  EXPECT_TRUE(NextTick().empty());
  EXPECT_TRUE(Differences(drawn, Screen()).IsEmpty());

  // While downloading, the progress line is right-aligned and carries the percentage.
  window->m_bDownloading = true;
  // A tick shows the new progress line's rectangle: not the strip between
  // the lines, nor the unchanged version line.
  const std::vector<platform::ScreenRect> shown = NextTick();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(testsupport::AsRect(shown[0]), kProgress);

  for (const int percent : {0, 42, 100}) {
    window->m_pUpdateAgent->m_nDownloadPercent = percent;
    const std::string expected = "目前已下載：" + std::to_string(percent) + " %";
    ASSERT_TRUE(PumpUntil([&] { return Utf8FromLocale(window->m_szProgressText) == expected; })) << expected;
    PumpPending();
    const RECT progress = Differences(drawn, Screen());
    ASSERT_TRUE(IntersectRect(&within, progress, kProgress)) << expected;
    EXPECT_EQ(within, progress) << expected << ": ink only inside (480,430)-(630,445)";
    EXPECT_GT(progress.right, kProgress.right - 3) << expected << ": right-aligned";
    EXPECT_GT(progress.left, kProgress.left + 20) << expected;
  }

  // With the flag off, a paint leaves the progress text out.
  window->m_bDownloading = false;
  window->InvalidateRect(nullptr, FALSE);
  UpdateWindow(hwnd);
  EXPECT_TRUE(Differences(Screen(), testsupport::Picture(51), kProgress).IsEmpty());
}

}  // namespace
