// The ways a web page is tried outside the launcher when the desktop has no
// browser: explorer.exe in the game folder, else the file manager. A desktop
// with a browser, or with no handler at all (the page then shows in the
// panel), is walked through by the every-button test.
#include "DesktopSandbox.h"
#include "shell/OpenPage.h"
#include "support/Headless.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char kPage[] = "http://127.0.0.1/modules/job/";

TEST(OpenPageOutside, WithoutABrowserAPageGoesToExplorerElseToTheFileManager) {
  const testsupport::HeadlessSession session;
  const ScratchFolder work;
  const DesktopSandbox& sandbox = DesktopSandbox::Current();
  work.Put("explorer.exe", "#!/bin/sh\nexec '" + sandbox.Recorder().string() + "' program \"$@\"\n", true);
  EXPECT_TRUE(OpenPageOutside(nullptr, kPage));
  EXPECT_EQ(sandbox.StartsAfter(0, 1), std::vector<std::string>{std::string("program|") + kPage});

  std::filesystem::remove(work.Path() / "explorer.exe");
  EXPECT_TRUE(OpenPageOutside(nullptr, kPage));
  EXPECT_EQ(sandbox.StartsAfter(1, 1), std::vector<std::string>{std::string("folder|") + kPage});
  EXPECT_TRUE(session.display.messageBoxes.empty());
}

}  // namespace
