// The window's paint and its two status lines on the headless display, read
// as pixels: what a full paint, a paint inside the panel and a status tick
// change, where the version and progress lines put their ink, and the
// version line drawn from Big5 texts.
#include "app/LauncherApp.h"
#include "base/NarrowText.h"
#include "framework/GdiObjects.h"
#include "framework/Resources.h"
#include "framework/WindowRecord.h"
#include "shell/LauncherWindow.h"
#include "support/Headless.h"
#include "update/UpdateAgent.h"

#include <gtest/gtest.h>

#include <algorithm>
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
constexpr RECT kPanel{7, 86, 632, 427};

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

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

TEST_F(StatusLinesTest, AFullPaintLaysTheBackgroundAndFacesAroundThePanelAndAPanelPaintChangesNothing) {
  Start();
  NextTick();
  // Fill the panel's place with a colour the window never draws, then repaint everything.
  platform::Surface& screen = *hwnd->backing;
  for (int y = kPanel.top; y < kPanel.bottom; ++y) {
    for (int x = kPanel.left; x < kPanel.right; ++x) {
      screen.Row(y)[x] = 0x123456;
    }
  }
  window->InvalidateRect(nullptr, FALSE);
  UpdateWindow(hwnd);
  HBITMAP background = LoadBitmap(AfxGetInstanceHandle(), 51);
  int panelChanged = 0;
  int backgroundMismatches = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool face = y >= 446 && y < 476 && (x - 5) % 90 < 89 && x >= 5 && x < 634;
      if (Inside(kPanel, x, y)) {
        panelChanged += screen.Pixel(x, y) != 0x123456;
      } else if (!face && !Inside(kVersion, x, y)) {
        backgroundMismatches += screen.Pixel(x, y) != background->pixels->Pixel(x, y);
      }
    }
  }
  DeleteObject(background);
  EXPECT_EQ(panelChanged, 0);
  EXPECT_EQ(backgroundMismatches, 0);

  const platform::Surface before = Screen();
  const std::size_t presented = Presented().size();
  window->InvalidateRect(&window->m_rcWebPanel, FALSE);
  UpdateWindow(hwnd);
  EXPECT_TRUE(Differences(before, Screen()).IsEmpty());
  EXPECT_EQ(Presented().size(), presented);
}

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
  window->m_bDownloading = true;
  // A tick shows the two lines' rectangles, not the strip between them.
  std::vector<RECT> shown;
  for (const platform::ScreenRect& r : NextTick()) {
    shown.push_back(RECT{r.left, r.top, r.right, r.bottom});
  }
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_NE(std::find(shown.begin(), shown.end(), kVersion), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), kProgress), shown.end());

  for (const int percent : {0, 42, 100}) {
    window->m_pUpdateAgent->m_nDownloadPercent = percent;
    const std::string expected = "目前已下載：" + std::to_string(percent) + " %";
    ASSERT_TRUE(PumpUntil([&] { return Utf8FromLocale(window->m_szProgressText) == expected; })) << expected;
    HBITMAP background = LoadBitmap(AfxGetInstanceHandle(), 51);
    PumpPending();
    RECT ink{640, 480, 0, 0};
    // The strip between the panel and the faces, right of the version line.
    for (int y = kPanel.bottom; y < 446; ++y) {
      for (int x = kVersion.right; x < 640; ++x) {
        if (Screen().Pixel(x, y) != background->pixels->Pixel(x, y)) {
          ink = RECT{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1), std::max(ink.bottom, y + 1)};
        }
      }
    }
    DeleteObject(background);
    RECT within;
    ASSERT_TRUE(IntersectRect(&within, ink, kProgress)) << expected;
    EXPECT_EQ(within, ink) << expected << ": ink only inside (480,430)-(630,445)";
    EXPECT_GT(ink.right, kProgress.right - 3) << expected << ": right-aligned";
    EXPECT_GT(ink.left, kProgress.left + 20) << expected;
  }
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
