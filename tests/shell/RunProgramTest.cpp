// Starting programs by bare name: where they are looked for, which files
// count as programs, and that the launcher is left with no child of its own.
#include "shell/RunProgram.h"

#include "support/Headless.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path OwnFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// A scratch current directory and PATH for one test, put back afterwards.
class RunProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(scratch_ / "bin");
    oldPath_ = std::getenv("PATH");
    setenv("PATH", ((scratch_ / "bin").string() + ":" + oldPath_).c_str(), 1);
    if (const char* wineDebug = std::getenv("WINEDEBUG")) oldWineDebug_ = wineDebug;
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    SetWineDebug(oldWineDebug_);
    for (const fs::path& file : ownFiles_) fs::remove(file);
  }

  // A script that writes `text` into marker once it runs.
  std::string MarkerScript(const std::string& text) const {
    return "#!/bin/sh\necho " + text + " > '" + Marker().string() + ".tmp' && mv '" + Marker().string() + ".tmp' '" +
           Marker().string() + "'\n";
  }
  static void SetWineDebug(const std::optional<std::string>& value) {
    if (value.has_value()) {
      setenv("WINEDEBUG", value->c_str(), 1);
    } else {
      unsetenv("WINEDEBUG");
    }
  }
  fs::path Marker() const { return scratch_ / "marker"; }
  bool MarkerWritten() const { return fs::exists(Marker()); }
  void PutInOwnFolder(const std::string& name, const std::string& content) {
    ownFiles_.push_back(OwnFolder() / name);
    std::ofstream(ownFiles_.back(), std::ios::binary) << content;
    fs::permissions(ownFiles_.back(), fs::perms(0755));
  }

  testsupport::HeadlessSession session_;
  ScratchFolder work_;
  const fs::path scratch_ = work_.Path();
  std::string oldPath_;
  std::optional<std::string> oldWineDebug_;
  std::vector<fs::path> ownFiles_;
};

TEST_F(RunProgramTest, OwnFolderWinsOverCurrentDirectoryAndNoChildIsLeft) {
  const std::string name = "run-program-test-" + std::to_string(getpid()) + ".dat";
  PutInOwnFolder(name, MarkerScript("own"));
  work_.Put(name, MarkerScript("current"), true);

  EXPECT_EQ(RunProgram(name.c_str()), TRUE);
  // The program was handed on: the launcher has no child to wait for.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return MarkerWritten(); }));
  EXPECT_EQ(work_.Read("marker"), "own\n");
  EXPECT_TRUE(session_.display.messageBoxes.empty());
}

// Then the current directory and the PATH. A Windows program runs through
// the Wine on the PATH, and Wine's diagnostics stay off the launcher's
// terminal unless the player asked for them; a native program gets the
// environment as it is.
TEST_F(RunProgramTest, ThenThePathAndAWindowsProgramRunsThroughWineWithWineDebugSilencedUnlessThePlayerSetIt) {
  const std::string record = MarkerScript("\"${WINEDEBUG-unset}\" \"$@\"");
  work_.Put("bin/wine", record, true);
  work_.Put("bin/on-path.dat", record, true);
  work_.Put("MRVPatch.exe", "MZ\x90\x00 not really a program", false);
  work_.Put("MRVSP.dat", record, true);
  const std::string patch = " " + (scratch_ / "MRVPatch.exe").string();
  struct Case {
    const char* program;
    std::optional<std::string> playerSetting;
    std::string seen;
  };
  const Case cases[] = {
      {"MRVPatch.exe", std::nullopt, "-all" + patch},
      {"MRVPatch.exe", "+relay,err-all", "+relay,err-all" + patch},
      {"MRVPatch.exe", "", patch},
      {"MRVSP.dat", std::nullopt, "unset"},
      {"MRVSP.dat", "warn+all", "warn+all"},
      {"on-path.dat", std::nullopt, "unset"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " with WINEDEBUG " + c.playerSetting.value_or("unset"));
    SetWineDebug(c.playerSetting);
    fs::remove(Marker());
    EXPECT_EQ(RunProgram(c.program), TRUE);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return MarkerWritten(); }));
    EXPECT_EQ(work_.Read("marker"), c.seen + "\n");
  }
}

TEST_F(RunProgramTest, FilesThatCannotRunGiveOneBoxEachAndFalse) {
  work_.Put("text.dat", "echo not a script\n", true);
  work_.Put("noexec.dat", MarkerScript("noexec"), false);
  work_.Put("windows.exe", "MZ", false);  // no wine on this PATH
  setenv("PATH", (scratch_ / "bin").c_str(), 1);
  const char* names[] = {"missing.dat", "text.dat", "noexec.dat", "windows.exe", ""};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const std::size_t before = session_.display.messageBoxes.size();
    EXPECT_EQ(RunProgram(name), FALSE);
    ASSERT_EQ(session_.display.messageBoxes.size(), before + 1);
    EXPECT_TRUE(testsupport::IsBox(session_.display.messageBoxes.back(), "CreateProcess failed.", "Error"));
  }
  EXPECT_FALSE(MarkerWritten());
}

}  // namespace
