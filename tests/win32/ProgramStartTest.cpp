// Starting programs by bare name on Windows: where they are looked for, that
// only Windows programs start, in the launcher's current directory with the
// arguments as given, and the program's own file as it names itself.
#include "platform/process/ProgramStart.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "ProbeReport.h"
#include "ProbeSupport.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// An ASCII text in UTF-16.
std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class ProgramStartTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryA(Bin().c_str(), nullptr));
    char path[32767] = {};
    ASSERT_GT(GetEnvironmentVariableA("PATH", path, sizeof path), 0u);
    oldPath_ = path;
    ASSERT_TRUE(SetEnvironmentVariableA("PATH", (Bin() + ";" + oldPath_).c_str()));
  }
  void TearDown() override {
    EXPECT_TRUE(SetEnvironmentVariableA("PATH", oldPath_.c_str()));
    for (const std::string& file : ownFolderCopies_) EXPECT_TRUE(DeleteFileA(file.c_str())) << file;
  }

  std::string Bin() const { return scratch_.Path() + "\\bin"; }
  std::string Report() const { return scratch_.Path() + "\\" + kProbeReport; }

  // A copy of the probe at `path`.
  static void CopyProbe(const std::string& path) {
    ASSERT_TRUE(CopyFileA((OwnFolder() + "\\" + kProbeProgram).c_str(), path.c_str(), FALSE)) << path;
  }
  void CopyProbeToOwnFolder(const std::string& name) {
    ownFolderCopies_.push_back(OwnFolder() + "\\" + name);
    CopyProbe(ownFolderCopies_.back());
  }

  // The report of the probe started last, once it has ended.
  std::vector<std::string> FinishedReport() const {
    std::vector<std::string> lines;
    EXPECT_TRUE(WaitUntil([&] {
      const auto read = FileLines(Report());
      if (read) lines = *read;
      return read.has_value();
    }));
    EXPECT_GE(lines.size(), static_cast<std::size_t>(kProbeArguments)) << "a report cut short";
    if (lines.size() < kProbeArguments) return {};
    EXPECT_TRUE(WaitForProcessEnd(std::stoul(lines[kProbeProcess])));
    EXPECT_TRUE(DeleteFileA(Report().c_str()));
    return lines;
  }

  ScratchDirectory scratch_;
  std::string oldPath_;
  std::vector<std::string> ownFolderCopies_;
};

TEST_F(ProgramStartTest, AProgramIsFoundWhereCreateProcessLooksAndRunsInTheCurrentDirectoryWithItsArguments) {
  const std::string both = "start-test-" + std::to_string(GetCurrentProcessId()) + ".dat";
  CopyProbeToOwnFolder(both);
  CopyProbe(scratch_.Path() + "\\" + both);
  CopyProbe(scratch_.Path() + "\\MRVSP.dat");
  CopyProbe(scratch_.Path() + "\\probe.exe");
  CopyProbe(Bin() + "\\on-path.dat");
  const struct {
    std::string name;
    std::vector<std::string> arguments;
    std::string runs;
  } cases[] = {
      {"MRVSP.dat", {}, scratch_.Path() + "\\MRVSP.dat"},
      {both, {}, OwnFolder() + "\\" + both},
      {"on-path.dat", {}, Bin() + "\\on-path.dat"},
      {"probe", {}, scratch_.Path() + "\\probe.exe"},
      {scratch_.Path() + "\\MRVSP.dat", {}, scratch_.Path() + "\\MRVSP.dat"},
      {"MRVSP.dat",
       {"plain", "two words", "say \"hi\"", "ends in \\", "a\\\\b", "", "tab\there"},
       scratch_.Path() + "\\MRVSP.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::StartProgram(c.name, c.arguments));
    const std::vector<std::string> report = FinishedReport();
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(Lower(report[kProbeFile]), Lower(c.runs));
    EXPECT_EQ(Lower(report[kProbeFolder]), Lower(scratch_.Path()));
    EXPECT_EQ(std::vector<std::string>(report.begin() + kProbeArguments, report.end()), c.arguments);
  }
}

TEST_F(ProgramStartTest, WhatIsNoWindowsProgramDoesNotStart) {
  scratch_.Put("text.dat", "echo not a program\r\n");
  scratch_.Put("script.dat", "#!/bin/sh\necho started > probe-report.txt\n");
  scratch_.Put("short.dat", "M");
  ASSERT_TRUE(CreateDirectoryA((scratch_.Path() + "\\folder.dat").c_str(), nullptr));
  for (const char* name : {"missing.dat", "text.dat", "script.dat", "short.dat", "folder.dat", "", "bin"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(platform::StartProgram(name));
    EXPECT_TRUE(platform::ProgramArguments(scratch_.Path() + "\\" + name).empty());
  }
  // What the shell is asked to open with parameters is told apart the same way.
  CopyProbe(scratch_.Path() + "\\MRVSP.dat");
  const std::string program = platform::FindProgramFile("MRVSP.dat");
  EXPECT_EQ(platform::ProgramArguments(program), std::vector<std::string>{program});
  EXPECT_EQ(GetFileAttributesA(Report().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProgramStartTest, TheSystemFoldersAreSearchedBeforeThePath) {
  CopyProbe(Bin() + "\\notepad.exe");
  const std::string found = Lower(platform::FindProgramFile("notepad.exe"));
  EXPECT_NE(found.find("\\windows\\"), std::string::npos) << found;
}

// The program's own file comes in UTF-8, whatever the ANSI code page holds.
TEST_F(ProgramStartTest, TheProgramFileIsNamedInUtf8) {
  const std::wstring program = Wide(scratch_.Path()) + L"\\probe-\u83ab\u00e9.exe";
  ASSERT_TRUE(CopyFileW(Wide(OwnFolder() + "\\" + kProbeProgram).c_str(), program.c_str(), FALSE));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(
      CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::vector<std::string> report = FinishedReport();
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(Lower(report[kProbeFile]), Lower(scratch_.Path() + "\\probe-\xe8\x8e\xab\xc3\xa9.exe"));
}

}  // namespace
