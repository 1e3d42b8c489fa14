// Files still being written are removed when the program ends before it keeps
// them: a child program marks a file, and the test looks after its end.
#include "platform/process/PendingFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProbeReport.h"
#include "ProbeSupport.h"

namespace {

constexpr DWORD kChildTimeOutMs = 30000;

// Runs the probe with --pending path mode to its end; its exit code.
DWORD RunPendingChild(const std::string& path, const char* mode) {
  std::string commandLine = std::string(kProbeProgram) + " " + kPendingOption + " \"" + path + "\" " + mode;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const std::string program = OwnFolder() + "\\" + kProbeProgram;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    ADD_FAILURE() << "the probe did not start: " << GetLastError();
    return ~DWORD{0};
  }
  CloseHandle(process.hThread);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, kChildTimeOutMs), WAIT_OBJECT_0);
  DWORD code = ~DWORD{0};
  EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &code));
  CloseHandle(process.hProcess);
  return code;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(PendingFilesTest, AFileLeftPendingIsRemovedAtExitAndAKeptOneStays) {
  const ScratchDirectory scratch;
  const struct {
    const char* mode;
    bool stays;
  } cases[] = {
      {"leave", false},
      {"keep", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const std::string path = scratch.Path() + "\\MRVPatch-" + c.mode + ".part";
    EXPECT_EQ(RunPendingChild(path, c.mode), 0u);
    EXPECT_EQ(Exists(path), c.stays);
  }
}

TEST(PendingFilesTest, APathTooLongIsRefused) { EXPECT_FALSE(platform::MarkFilePending(std::string(5000, 'a'))); }

}  // namespace
