// A fresh current directory for one test, put back and removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <stdlib.h>

class ScratchFolder {
 public:
  ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "moravine-work-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // Writes a file here; executable ones get mode 0755.
  void Put(const std::string& name, const std::string& content, bool executable = false) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
    std::filesystem::permissions(path_ / name, std::filesystem::perms(executable ? 0755 : 0644));
  }
  // The whole of a file here; empty when there is none.
  std::string Read(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(path_ / name, std::ios::binary).rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
