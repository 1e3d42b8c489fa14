// The two status lines on the headless display, read as pixels: what a
// status tick changes and shows, where the version and progress lines put
// their ink, and the version line drawn from Big5 texts.
#include "app/LauncherApp.h"
#include "base/NarrowText.h"
#include "framework/GdiObjects.h"
#include "framework/Resources.h"
#include "framework/WindowRecord.h"
#include "shell/LauncherWindow.h"
#include "support/Headless.h"
#include "update/UpdateAgent.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using testsupport::PumpPending;
using testsupport::PumpUntil;

constexpr RECT kVersion{7, 430, 157, 445};
constexpr RECT kProgress{480, 430, 630, 445};

// The bounding rectangle of the pixels where two pictures of the window differ.
RECT Differences(const platform::Surface& a, const platform::Surface& b) {
  RECT d{640, 480, 0, 0};
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        d = RECT{std::min(d.left, x), std::min(d.top, y), std::max(d.right, x + 1), std::max(d.bottom, y + 1)};
      }
    }
  }
  return d;
}

// The window with the demo's registry (installed version 2.0.1.0.3), its
// timers armed and no download steps running.
class StatusLinesTest : public ::testing::Test {
 protected:
  StatusLinesTest() { setenv("WINEPREFIX", DEMO_PREFIX, 1); }
  ~StatusLinesTest() override { unsetenv("WINEPREFIX"); }

  void Start() {
    ASSERT_TRUE(app.InitInstance());
    window = static_cast<LauncherWindow*>(app.m_pMainWnd);
    hwnd = window->m_hWnd;
    ASSERT_TRUE(PumpUntil([&] { return window->m_nTimer == IDT_STATUS; }));
    KillTimer(hwnd, IDT_DOWNLOAD);
  }

  void TearDown() override {
    if (IsWindow(hwnd)) {
      DestroyWindow(hwnd);
    }
  }

  const platform::Surface& Screen() const { return *GetBackingStore(hwnd); }
  const std::vector<platform::ScreenRect>& Presented() { return session.display.Find(hwnd->native)->presented; }

  // Runs until the next status tick has been painted; returns what it presented.
  std::vector<platform::ScreenRect> NextTick() {
    const std::size_t before = Presented().size();
    EXPECT_TRUE(PumpUntil([&] { return Presented().size() > before; }));
    PumpPending();
    return {Presented().begin() + static_cast<std::ptrdiff_t>(before), Presented().end()};
  }

  testsupport::HeadlessSession session;
  LauncherApp app;
  LauncherWindow* window = nullptr;
  HWND hwnd = nullptr;
};

TEST_F(StatusLinesTest, AStatusTickWithoutDownloadRepaintsOnlyTheVersionLineWithInkFromItsTopRows) {
  Start();
  const platform::Surface before = Screen();
  const std::vector<platform::ScreenRect> presented = NextTick();
  EXPECT_EQ(Utf8FromLocale(window->m_szVersionText), "版本：2.0.1.0.3");
  ASSERT_EQ(presented.size(), 1u) << "one rectangle shown";
  EXPECT_EQ((RECT{presented[0].left, presented[0].top, presented[0].right, presented[0].bottom}), kVersion);

  const RECT ink = Differences(before, Screen());
  ASSERT_FALSE(ink.IsEmpty()) << "the version line shows";
  RECT within;
  ASSERT_TRUE(IntersectRect(&within, ink, kVersion));
  EXPECT_EQ(within, ink) << "nothing changes outside (7,430)-(157,445)";
  EXPECT_LT(ink.top, kVersion.top + 5) << "the line starts at the rectangle's top";
  EXPECT_LT(ink.left, kVersion.left + 3) << "left-aligned";
  EXPECT_LT(ink.right, kVersion.right - 20) << "the line is shorter than its field";

  // Later ticks redraw the same line over the background, not over the old text.
  const platform::Surface drawn = Screen();
  NextTick();
  EXPECT_TRUE(Differences(drawn, Screen()).IsEmpty());
}

TEST_F(StatusLinesTest, WhileDownloadingTheProgressLineIsRightAlignedAndCarriesThePercentage) {
  Start();
  NextTick();
  const platform::Surface before = Screen();
  window->m_bDownloading = true;
  // A tick shows the two lines' rectangles, not the strip between them.
  std::vector<RECT> shown;
  for (const platform::ScreenRect& r : NextTick()) {
    shown.push_back(RECT{r.left, r.top, r.right, r.bottom});
  }
  EXPECT_EQ(shown, (std::vector<RECT>{kVersion, kProgress}));

  for (const int percent : {0, 42, 100}) {
    window->m_pUpdateAgent->m_nDownloadPercent = percent;
    const std::string expected = "目前已下載：" + std::to_string(percent) + " %";
    ASSERT_TRUE(PumpUntil([&] { return Utf8FromLocale(window->m_szProgressText) == expected; })) << expected;
    PumpPending();
    const RECT ink = Differences(before, Screen());
    RECT within;
    ASSERT_TRUE(IntersectRect(&within, ink, kProgress)) << expected;
    EXPECT_EQ(within, ink) << expected << ": ink only inside (480,430)-(630,445)";
    EXPECT_GT(ink.right, kProgress.right - 3) << expected << ": right-aligned";
    EXPECT_GT(ink.left, kProgress.left + 20) << expected;
  }
}

TEST_F(StatusLinesTest, WithoutABrowserThePanelAreaShowsTheBackground) {
  session.browsers.failure = true;
  Start();
  ASSERT_FALSE(IsWindow(window->m_wndWebPanel.m_hWnd));
  HBITMAP background = LoadBitmap(AfxGetInstanceHandle(), 51);
  const RECT& panel = window->m_rcWebPanel;
  for (int y = panel.top; y < panel.bottom; y += 7) {
    for (int x = panel.left; x < panel.right; x += 7) {
      ASSERT_EQ(Screen().Pixel(x, y), background->pixels->Pixel(x, y)) << x << "," << y;
    }
  }
  DeleteObject(background);
}

TEST_F(StatusLinesTest, WithTheDownloadFlagOffAPaintLeavesTheProgressTextOut) {
  Start();
  NextTick();
  std::strcpy(window->m_szProgressText, LocaleFromUtf8("目前已下載：42 %").c_str());
  window->InvalidateRect(nullptr, FALSE);
  UpdateWindow(hwnd);
  HBITMAP background = LoadBitmap(AfxGetInstanceHandle(), 51);
  for (int y = kProgress.top; y < kProgress.bottom; ++y) {
    for (int x = kProgress.left; x < kProgress.right; ++x) {
      ASSERT_EQ(Screen().Pixel(x, y), background->pixels->Pixel(x, y)) << x << "," << y;
    }
  }
  DeleteObject(background);
}

// The version line's pixels when the program runs in the given locale.
std::vector<std::uint32_t> VersionLinePixels(const char* locale, std::string* text) {
  std::vector<std::uint32_t> pixels;
  if (std::setlocale(LC_ALL, locale) == nullptr) {
    ADD_FAILURE() << "the " << locale << " locale is missing: run tools/setup-debian.sh";
    return pixels;
  }
  {
    testsupport::HeadlessSession session;
    LauncherApp app;
    EXPECT_TRUE(app.InitInstance());
    auto* window = static_cast<LauncherWindow*>(app.m_pMainWnd);
    HWND hwnd = window->m_hWnd;
    KillTimer(hwnd, IDT_DOWNLOAD);
    EXPECT_TRUE(PumpUntil([&] { return window->m_szVersionText[0] != '\0'; }));
    PumpPending();
    *text = window->m_szVersionText;
    for (int y = kVersion.top; y < kVersion.bottom; ++y) {
      for (int x = kVersion.left; x < kVersion.right; ++x) {
        pixels.push_back(GetBackingStore(hwnd)->Pixel(x, y));
      }
    }
    DestroyWindow(hwnd);
  }
  std::setlocale(LC_ALL, "C");
  return pixels;
}

TEST(StatusLinesLocale, TheBig5VersionLineLooksAsTheUtf8One) {
  setenv("WINEPREFIX", DEMO_PREFIX, 1);
  std::string big5Text;
  std::string utf8Text;
  const auto big5 = VersionLinePixels("zh_TW.BIG5", &big5Text);
  const auto utf8 = VersionLinePixels("C.UTF-8", &utf8Text);
  unsetenv("WINEPREFIX");
  EXPECT_EQ(big5Text, "\xAA\xA9\xA5\xBB\xA1\x47" "2.0.1.0.3");
  EXPECT_EQ(utf8Text, "版本：2.0.1.0.3");
  ASSERT_FALSE(utf8.empty());
  EXPECT_TRUE(big5 == utf8);
}

}  // namespace
