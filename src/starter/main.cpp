// The starter installed beside the launcher. The launcher works in its
// current directory, the game folder inside the Wine prefix, and reads no
// arguments; the starter finds that folder, enters it and replaces itself
// with the launcher, so the launcher's exit status is the starter's. When the
// game cannot be found it says why on the standard error and exits with 1.
//
// It stays in the C locale, so registry texts come as UTF-8 file names.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "starter/GameFolder.h"

namespace {

constexpr char LAUNCHER[] = "moravine-launcher";

int Fail(const std::string& problem) {
  std::fprintf(stderr, "moravine: %s\n", problem.c_str());
  return 1;
}

}  // namespace

int main() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    return Fail("cannot find where this program lies: " + error.message());
  }
  const std::string launcher = (self.parent_path() / LAUNCHER).string();

  const GameFolderLookup lookup = FindGameFolder();
  if (!lookup.folder) {
    return Fail(lookup.problem);
  }
  if (chdir(lookup.folder->c_str()) != 0) {
    return Fail("cannot enter the game folder " + lookup.folder->string() + ": " + std::strerror(errno));
  }
  char* const arguments[] = {const_cast<char*>(LAUNCHER), nullptr};
  execv(launcher.c_str(), arguments);
  return Fail("cannot start the launcher " + launcher + ": " + std::strerror(errno));
}
