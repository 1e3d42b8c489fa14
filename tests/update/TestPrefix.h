// A Wine prefix of its own for each test: WINEPREFIX points at a fresh
// folder for the test's duration.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TestPrefix : public testing::Test {
 protected:
  TestPrefix() {
    std::string pattern = (std::filesystem::temp_directory_path() / "moravine-prefix-XXXXXX").string();
    m_folder = mkdtemp(pattern.data());
    setenv("WINEPREFIX", m_folder.c_str(), 1);
  }
  ~TestPrefix() override {
    unsetenv("WINEPREFIX");
    std::filesystem::remove_all(m_folder);
  }

  std::filesystem::path RegistryPath() const { return m_folder / "system.reg"; }

  // Replaces the machine registry through a renamed temporary file, as Wine does.
  void WriteRegistry(const std::string& text) const {
    std::ofstream(m_folder / "new.reg", std::ios::binary) << text;
    std::filesystem::rename(m_folder / "new.reg", RegistryPath());
  }

  std::filesystem::path m_folder;
};

inline constexpr char PLAIN_PATH[] = "Software\\\\Veltrano\\\\Moravine Cht";
inline constexpr char WOW_PATH[] = "Software\\\\Wow6432Node\\\\Veltrano\\\\Moravine Cht";

// A registry file's text: Wine's header for the architecture, then the sections.
inline std::string RegistryText(const char* arch, const std::string& sections) {
  return std::string("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=") + arch + "\n\n" +
         sections;
}

// A section of the game's key at path holding the given value line.
inline std::string GameKey(const char* path, const std::string& valueLine) {
  return std::string("[") + path + "] 1700000000\n#time=1da1b5e2c4a7f30\n" + valueLine + "\n\n";
}
