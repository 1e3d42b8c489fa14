// The shell's verbs against the stand-in handlers of the desktop sandbox, and
// the three ways a web page is tried outside the launcher.
#include "DesktopSandbox.h"
#include "framework/ShellExecute.h"
#include "shell/OpenPage.h"
#include "support/Headless.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <cerrno>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr char kPage[] = "http://127.0.0.1/modules/job/";

class ShellVerbs : public ::testing::Test {
 protected:
  void SetUp() override { before_ = sandbox_.Starts().size(); }

  // Whether the sandbox's handlers are exactly `kinds`; a test written for others skips.
  bool HandlersAre(const std::set<std::string>& kinds) const {
    return std::ranges::all_of(kKinds, [&](const char* kind) { return sandbox_.Has(kind) == kinds.contains(kind); });
  }

  INT_PTR Open(const char* file, const char* parameters = nullptr) {
    return ShellExecute(nullptr, "open", file, parameters, nullptr, SW_SHOWNORMAL);
  }

  // A program here that records its arguments as a start of kind "program".
  void PutRecordingProgram(const std::string& name) {
    work_.Put(name, "#!/bin/sh\nexec '" + (sandbox_.Folder() / "bin" / "record-start").string() + "' program \"$@\"\n",
              true);
  }

  // The starts since the test began, once there are `count` of them.
  std::vector<std::string> StartsWhenThereAre(std::size_t count) { return sandbox_.StartsAfter(before_, count); }

  static constexpr const char* kKinds[] = {"web", "text", "folder"};
  testsupport::HeadlessSession session_;
  DesktopSandbox& sandbox_ = DesktopSandbox::Current();
  ScratchFolder work_;
  std::size_t before_ = 0;
};

TEST_F(ShellVerbs, OpenGivesAnAddressToItsSchemesHandlerAndADocumentToItsTypesApplicationAndWaitsForNeither) {
  if (!HandlersAre({"web", "text", "folder"})) GTEST_SKIP() << "needs every handler";
  sandbox_.Hold(true);
  EXPECT_GT(Open(kPage), 32);
  // The handler has recorded its start and is still running, and is no child of ours.
  EXPECT_EQ(StartsWhenThereAre(1), std::vector<std::string>{std::string("web|") + kPage});
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  sandbox_.Hold(false);

  work_.Put("readmeSP.txt", "Read me first.\n");
  EXPECT_GT(Open("readmeSP.txt"), 32);
  EXPECT_EQ(StartsWhenThereAre(2).back(), "text|" + (work_.Path() / "readmeSP.txt").string())
      << "a relative name is resolved against the current directory";

  EXPECT_EQ(Open("missing.txt"), SE_ERR_FNF);
  EXPECT_EQ(Open("gopher://127.0.0.1/"), SE_ERR_NOASSOC);
  EXPECT_EQ(ShellExecute(nullptr, "print", "readmeSP.txt", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_NOASSOC);
  EXPECT_TRUE(session_.display.messageBoxes.empty());
}

TEST_F(ShellVerbs, WithoutABrowserAPageGoesToExplorerElseToTheFileManager) {
  if (!HandlersAre({"folder"})) GTEST_SKIP() << "needs the file manager alone";
  PutRecordingProgram("explorer.exe");
  EXPECT_TRUE(OpenPageOutside(nullptr, kPage));
  EXPECT_EQ(StartsWhenThereAre(1), std::vector<std::string>{std::string("program|") + kPage});

  std::filesystem::remove(work_.Path() / "explorer.exe");
  EXPECT_TRUE(OpenPageOutside(nullptr, kPage));
  EXPECT_EQ(StartsWhenThereAre(2).back(), std::string("folder|") + kPage);
}

TEST_F(ShellVerbs, WithoutHandlersEveryWayFailsAndThePageIsLeftToTheLauncher) {
  if (!HandlersAre({})) GTEST_SKIP() << "needs a desktop without handlers";
  work_.Put("readmeSP.txt", "Read me first.\n");
  EXPECT_EQ(Open(kPage), SE_ERR_NOASSOC);
  EXPECT_EQ(Open("readmeSP.txt"), SE_ERR_NOASSOC);
  EXPECT_EQ(Open("explorer.exe", kPage), SE_ERR_FNF);
  EXPECT_EQ(ShellExecute(nullptr, "explore", kPage, nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_NOASSOC);
  EXPECT_FALSE(OpenPageOutside(nullptr, kPage));
  EXPECT_TRUE(sandbox_.Starts().empty());
  EXPECT_TRUE(session_.display.messageBoxes.empty());
}

}  // namespace
