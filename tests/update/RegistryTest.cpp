// The installed version, read from the machine registry of the Wine prefix.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "TestPrefix.h"
#include "platform/registry/MachineHive.h"
#include "update/UpdateAgent.h"

namespace {

class InstalledVersion : public TestPrefix {
 protected:
  // What a fresh agent reads from the registry as it is now.
  std::string Read() {
    UpdateAgent agent;
    EXPECT_TRUE(agent.ReadInstalledVersion());
    return agent.m_szInstalledVersion;
  }
};

// The game's version in the hive's file as it is now, read from the key at path; "?" when absent.
std::string VersionIn(MachineHive& hive, const char* path) {
  const auto current = hive.Current();
  const auto key = current ? current->FindKey(path) : std::nullopt;
  return key ? current->FindString(*key, "GameVerSP").value_or("?") : "?";
}

}  // namespace

TEST_F(InstalledVersion, FollowsWinesRegistryFormat) {
  const std::string version = "\"GameVerSP\"=\"2.0.1.0.3\"";
  const struct {
    std::string file;
    const char* read;
  } cases[] = {
      {RegistryText("win32", "[Software\\\\Veltrano] 1700000000\n" + version + "\n"), ""},
      {RegistryText("win32", GameKey(PLAIN_PATH, "\"Other\"=\"2.0.1.0.3\"")), ""},
      {RegistryText("win32", GameKey(PLAIN_PATH, "\"GameVerSP\"=dword:00000203")), ""},
      {RegistryText("win32", GameKey("SOFTWARE\\\\veltrano\\\\MORAVINE CHT", "\"gameversp\"=\"x\"")), "x"},
      {RegistryText("win32", GameKey(PLAIN_PATH, R"("GameVerSP"="a\\b\"c\x83ab\x31\t")")), "a\\b\"c莫1\t"},
      {RegistryText("win32", GameKey(PLAIN_PATH, R"("GameVerSP"="\xd83d\xde00\xd83d.")")), "\U0001F600\uFFFD."},
      {RegistryText("win32", GameKey(PLAIN_PATH, "\"Data\"=hex:00,\\\n  00\n" + version)), "2.0.1.0.3"},
      // A 64-bit prefix shows a 32-bit program Software\Wow6432Node as SOFTWARE...
      {RegistryText("win64", GameKey(PLAIN_PATH, "\"GameVerSP\"=\"plain\"") + GameKey(WOW_PATH, version)), "2.0.1.0.3"},
      // ... and the plain path when the key is not there.
      {RegistryText("win64", GameKey(PLAIN_PATH, version)), "2.0.1.0.3"},
      {RegistryText("win32", GameKey(WOW_PATH, version)), ""},
      {"REGEDIT4\n\n" + GameKey(PLAIN_PATH, version), ""},
      // Headers are compared as written: longer or shorter paths are other
      // keys, escapes are read, and the first of two sections counts.
      {RegistryText("win32", GameKey("Software\\\\Veltrano\\\\Moravine Cht2", version) +
                                 GameKey("Software\\\\Veltrano\\\\Moravine", version)),
       ""},
      {RegistryText("win32", GameKey("Software\\\\Veltr\\x61no\\\\Moravine\\x0020Cht", "\"GameVerSP\"=\"esc\"")),
       "esc"},
      {RegistryText("win32", GameKey("Software\\\\Veltrano\\\\\\x4doravine Cht", "\"GameVerSP\"=\"upper\"") +
                                 GameKey(PLAIN_PATH, version)),
       "upper"},
      {RegistryText("win32", "[Software\\\\Veltrano\\\\Moravine Cht\n" + GameKey(PLAIN_PATH, version)), "2.0.1.0.3"},
      // Values of 20 bytes or more are cut to 19 characters.
      {RegistryText("win32", GameKey(PLAIN_PATH, "\"GameVerSP\"=\"2.0.1.0.3-build-202\"")), "2.0.1.0.3-build-202"},
      {RegistryText("win32", GameKey(PLAIN_PATH, "\"GameVerSP\"=\"2.0.1.0.3-build-2024\"")), "2.0.1.0.3-build-202"},
      {RegistryText("win32", GameKey(PLAIN_PATH, "\"GameVerSP\"=\"2.0.1.0.4-build-20240520-release\"")),
       "2.0.1.0.4-build-202"},
  };
  EXPECT_EQ(Read(), "");
  for (const auto& c : cases) {
    WriteRegistry(c.file);
    EXPECT_EQ(Read(), c.read) << c.file;
  }
}

TEST_F(InstalledVersion, AShorterValueReplacesALongerOneAndAValueThatGoesLeavesTheLast) {
  UpdateAgent agent;
  for (const std::string value : {"2.0.1.0.4-build-20240520-release", "2.0.1"}) {
    WriteRegistry(RegistryText("win64", GameKey(WOW_PATH, "\"GameVerSP\"=\"" + value + "\"")));
    agent.ReadInstalledVersion();
  }
  EXPECT_STREQ(agent.m_szInstalledVersion, "2.0.1");
  std::filesystem::remove(RegistryPath());
  agent.ReadInstalledVersion();
  EXPECT_STREQ(agent.m_szInstalledVersion, "2.0.1");
  EXPECT_EQ(agent.m_pInstalledVersion[2], 1);
  EXPECT_EQ(agent.m_pInstalledVersion[4], 0);
}

TEST_F(InstalledVersion, AMultiMegabyteFileIsParsedAgainOnlyAfterItChanges) {
  const auto File = [](const char* version) {
    std::string filler;
    for (int i = 0; i < 40000; ++i) {
      filler += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(1000000 + i) +
                "-0000-0000-c000-000000000046}\\\\InprocServer32] 1700000000\n"
                "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
    }
    return RegistryText("win64", filler + GameKey(WOW_PATH, std::string("\"GameVerSP\"=\"") + version + "\""));
  };
  MachineHive hive;
  const auto Version = [&hive] { return VersionIn(hive, "SOFTWARE\\Wow6432Node\\Veltrano\\Moravine Cht"); };
  WriteRegistry(File("2.0.1.0.3"));
  ASSERT_GT(std::filesystem::file_size(RegistryPath()), 4u << 20);
  EXPECT_EQ(Version(), "2.0.1.0.3");
  EXPECT_EQ(Version(), "2.0.1.0.3");
  EXPECT_EQ(hive.ParseCount(), 1);
  // Renamed over by a file of the same size: another inode.
  WriteRegistry(File("2.0.1.0.4"));
  EXPECT_EQ(Version(), "2.0.1.0.4");
  EXPECT_EQ(hive.ParseCount(), 2);
  // Rewritten in place, then touched: same inode and size, other modification times.
  std::ofstream(RegistryPath(), std::ios::binary | std::ios::in | std::ios::out) << File("2.0.1.0.5");
  for (const long nanoseconds : {123456789L, 123456790L}) {
    const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, RegistryPath().c_str(), times, 0), 0);
    EXPECT_EQ(Version(), "2.0.1.0.5");
  }
  EXPECT_EQ(hive.ParseCount(), 4);
}

// Between looks the file is not stat'ed while its folder reports no change,
// so every way the version can change must reach the folder's watch, or be
// looked at each time.
TEST_F(InstalledVersion, EveryWayTheFileOrItsFolderChangesIsSeen) {
  namespace fs = std::filesystem;
  const auto Text = [](const char* version) {
    return RegistryText("win32", GameKey(PLAIN_PATH, std::string("\"GameVerSP\"=\"") + version + "\""));
  };
  const fs::path elsewhere = m_folder.string() + "-elsewhere";
  const fs::path target = m_folder.string() + "-target.reg";
  const struct {
    const char* what;
    std::function<void(const char*)> change;
  } cases[] = {
      {"renamed over", [&](const char* v) { WriteRegistry(Text(v)); }},
      {"rewritten in place", [&](const char* v) { std::ofstream(RegistryPath(), std::ios::binary) << Text(v); }},
      {"a link's target rewritten in place, outside the folder",
       [&](const char* v) {
         std::ofstream(target, std::ios::binary) << Text(v);
         if (!fs::is_symlink(RegistryPath())) {
           fs::remove(RegistryPath());
           fs::create_symlink(target, RegistryPath());
         }
       }},
      {"the folder removed and made anew",
       [&](const char* v) {
         fs::remove_all(m_folder);
         fs::create_directory(m_folder);
         WriteRegistry(Text(v));
       }},
      {"the folder moved away and another moved in",
       [&](const char* v) {
         fs::create_directory(elsewhere);
         std::ofstream(elsewhere / "system.reg", std::ios::binary) << Text(v);
         fs::rename(m_folder, m_folder.string() + "-old");
         fs::rename(elsewhere, m_folder);
         fs::remove_all(m_folder.string() + "-old");
       }},
  };
  MachineHive hive;
  const auto Version = [&hive] { return VersionIn(hive, "Software\\Veltrano\\Moravine Cht"); };
  WriteRegistry(Text("2.0.1.0.0"));
  ASSERT_EQ(Version(), "2.0.1.0.0");
  int n = 0;
  for (const auto& c : cases) {
    for (const char* version : {"2.0.1.1.1", "2.0.1.2.2"}) {
      const std::string expected = std::string(version) + "." + std::to_string(++n);
      c.change(expected.c_str());
      EXPECT_EQ(Version(), expected) << c.what;
      EXPECT_EQ(Version(), expected) << c.what << ", asked again";
    }
  }
  fs::remove(target);
}

// Whatever lies at the registry's path, reading it neither waits nor takes
// all memory: what is no regular file within the bound is no registry, and
// the version stays as it was.
TEST_F(InstalledVersion, NoRegularFileWithinTheBoundIsReadAndTheVersionStays) {
  const std::filesystem::path path = RegistryPath();
  const auto Sparse = [&path](off_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ftruncate(fd, size), 0);
    close(fd);
  };
  const struct {
    const char* what;
    std::function<void()> make;
  } cases[] = {
      {"a FIFO without a writer", [&path] { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
      {"a sparse file of 100 GB", [&Sparse] { Sparse(off_t{100} << 30); }},
      {"a file one byte over the bound", [&Sparse] { Sparse(kMaxRegistryFileSize + 1); }},
      {"a directory", [&path] { std::filesystem::create_directory(path); }},
      {"a symbolic link to itself", [&path] { std::filesystem::create_symlink(path.filename(), path); }},
      {"a symbolic link to /dev/zero", [&path] { std::filesystem::create_symlink("/dev/zero", path); }},
  };
  const std::string valid = RegistryText("win32", GameKey(PLAIN_PATH, "\"GameVerSP\"=\"2.0.1.0.3\""));
  UpdateAgent agent;
  for (const auto& c : cases) {
    WriteRegistry(valid);
    agent.ReadInstalledVersion();
    ASSERT_STREQ(agent.m_szInstalledVersion, "2.0.1.0.3");
    std::filesystem::remove(path);
    c.make();
    EXPECT_EQ(Read(), "") << c.what << ", read at start";
    agent.ReadInstalledVersion();
    EXPECT_STREQ(agent.m_szInstalledVersion, "2.0.1.0.3") << c.what << ", read while running";
    std::filesystem::remove(path);
  }
}
