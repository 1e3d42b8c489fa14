// The launcher's window on the headless display: creation and placement on
// a desktop with a panel, and a first paint that leaves the web panel alone.
#include "shell/WindowPlacement.h"
#include "support/Pixels.h"
#include "support/RunningLauncher.h"

#include <gtest/gtest.h>

namespace {

using testsupport::PumpPending;

class LauncherWindowTest : public ::testing::Test, protected testsupport::RunningLauncher {
 protected:
  const platform::HeadlessDisplay::Window& Native() { return *session.display.Find(hwnd->native); }
};

TEST(WindowPlacement, CentresOnTheWorkAreasSizeOnly) {
  EXPECT_EQ(CentreOnWorkArea(RECT{0, 0, 1024, 738}), (POINT{192, 129}));
  EXPECT_EQ(CentreOnWorkArea(RECT{0, 30, 1024, 768}), (POINT{192, 129})) << "the top edge is not added";
  EXPECT_EQ(CentreOnWorkArea(RECT{0, 0, 599, 480}), (POINT{-20, 0})) << "truncated toward zero";
}

TEST_F(LauncherWindowTest, IsABorderlessPopUpSizedAndCentredBeforeItIsShownThatNeverPaintsInsideThePanel) {
  session.display.workArea = {0, 30, 1024, 768};
  Start();
  const auto& native = Native();
  EXPECT_TRUE(native.visible);
  EXPECT_FALSE(native.presented.empty()) << "the first paint happens while showing the window";
  EXPECT_EQ(testsupport::AsRect(native.placementWhenShown), (RECT{192, 129, 192 + 640, 129 + 480}));
  EXPECT_EQ(native.title, "Moravine");
  EXPECT_TRUE(native.hasIcon);
  EXPECT_EQ(window->GetStyle() & ~WS_VISIBLE, WS_POPUP);
  EXPECT_FALSE(native.keepAbove);

  const HWND panel = window->m_wndWebPanel.m_hWnd;
  ASSERT_TRUE(IsWindow(panel));
  EXPECT_EQ(GetParent(panel), hwnd);
  RECT panelRect;
  GetWindowRect(panel, &panelRect);
  EXPECT_EQ(panelRect, (RECT{7, 86, 632, 427}));

  // The first paint shows the background around the panel and the buttons.
  const platform::Surface background = testsupport::Picture(51);
  const platform::Surface& screen = *GetBackingStore(hwnd);
  int backgroundMismatches = 0;
  int panelPainted = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool inPanel = x >= 7 && x < 632 && y >= 86 && y < 427;
      const bool inButtons = y >= 446 && y <= 475 && x >= 5 && x <= 633;
      if (inPanel) {
        panelPainted += screen.Pixel(x, y) != 0;
      } else if (!inButtons) {
        backgroundMismatches += screen.Pixel(x, y) != background.Pixel(x, y);
      }
    }
  }
  EXPECT_EQ(backgroundMismatches, 0);
  EXPECT_EQ(panelPainted, 0) << "the window never paints inside the web panel";

  // Nor does a repaint there show anything.
  ASSERT_TRUE(UntilStatusTimer());
  KillTimer(hwnd, IDT_STATUS);
  KillTimer(hwnd, IDT_DOWNLOAD);
  PumpPending();
  const std::vector<platform::ScreenRect>& presented = Native().presented;
  const std::size_t before = presented.size();
  const platform::Surface pixels = *GetBackingStore(hwnd);
  window->InvalidateRect(&window->m_rcWebPanel, FALSE);
  PumpPending();
  EXPECT_EQ(presented.size(), before);
  EXPECT_TRUE(testsupport::Differences(*GetBackingStore(hwnd), pixels).IsEmpty()) << "no pixel changed";
}

}  // namespace
