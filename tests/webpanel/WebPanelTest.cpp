// The web panel control on the headless display: narrow addresses in the
// Big5 locale, and the end of the panel's window. The browser filling the
// panel and the built-in blank page are the end-to-end tests' (every-button.sh).
#include "framework/WindowRecord.h"
#include "support/Headless.h"
#include "support/Locale.h"
#include "webpanel/CHtmlCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WebPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 640, 480, nullptr, 0)); }

  BOOL CreatePanel() { return panel.Create(RECT{7, 86, 632, 427}, &parent, 12345, WS_CHILD | WS_VISIBLE); }

  const platform::HeadlessBrowserEngine::Page& Page() { return *session.browsers.Pages().at(0); }

  testsupport::HeadlessSession session;
  CWnd parent;
  CHtmlCtrl panel;
};

TEST_F(WebPanelTest, NarrowAddressesAreReadInTheLocalesEncodingUntilThePanelsWindowEnds) {
  ASSERT_TRUE(CreatePanel());
  const LocaleScope big5("zh_TW.BIG5");
  ASSERT_TRUE(big5.ok()) << kNoBig5;
  panel.Navigate("/games/\xB9\x43\xC0\xB8 SP/default.htm");  // 遊戲 in Big5
  panel.Navigate("/games/\xFF\xFF/default.htm");             // no Big5 text: dropped
  panel.Navigate("");
  panel.Navigate("http://127.0.0.1/MRV/loader/SP/index.htm");
  const std::vector<std::string> expected{"file:///games/%E9%81%8A%E6%88%B2%20SP/default.htm",
                                          "http://127.0.0.1/MRV/loader/SP/index.htm"};
  EXPECT_EQ(Page().navigations, expected);

  // Its window's end releases the browser and leaves the object usable.
  const platform::NativeWindow native = panel.m_hWnd->native;
  EXPECT_TRUE(panel.DestroyWindow());
  EXPECT_TRUE(Page().destroyed);
  EXPECT_TRUE(session.display.IsDestroyed(native));
  EXPECT_EQ(panel.m_hWnd, nullptr);
  panel.Navigate("http://127.0.0.1/");
  EXPECT_EQ(Page().navigations, expected);
}

}  // namespace
