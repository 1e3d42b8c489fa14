#include "platform/process/ProgramStart.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string OwnFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  const std::string exe(path, static_cast<std::size_t>(length));
  const std::size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

std::string CurrentFolder() {
  char path[PATH_MAX];
  if (getcwd(path, sizeof path) == nullptr) return {};
  return std::string(path) + '/';
}

// The folders of PATH in order; an empty entry means the current directory.
std::vector<std::string> SearchPath() {
  std::vector<std::string> folders;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return folders;
  const std::string text(path);
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t colon = std::min(text.find(':', start), text.size());
    const std::string folder = text.substr(start, colon - start);
    folders.push_back(folder.empty() ? std::string("./") : folder + '/');
    start = colon + 1;
  }
  return folders;
}

std::string FindOnPath(const std::string& name) {
  for (const std::string& folder : SearchPath()) {
    const std::string candidate = folder + name;
    if (IsRegularFile(candidate) && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

// The first bytes of the file, fewer when it is shorter or unreadable.
std::string FileStart(const std::string& path, std::size_t count) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string head(count, '\0');
  const ssize_t got = read(fd, head.data(), count);
  close(fd);
  head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return head;
}

}  // namespace

std::string FindProgramFile(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsRegularFile(name) ? name : std::string();
  std::vector<std::string> folders{OwnFolder(), CurrentFolder()};
  for (std::string& folder : SearchPath()) folders.push_back(std::move(folder));
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string candidate = folder + name;
    if (IsRegularFile(candidate)) return candidate;
  }
  return {};
}

ProgramCommand CommandForFile(const std::string& file) {
  const std::string head = FileStart(file, 4);
  if (head ==
          "\x7f"
          "ELF" ||
      head.starts_with("#!")) {
    if (access(file.c_str(), X_OK) != 0) return {};
    return {{file}, false};
  }
  if (head.starts_with("MZ")) {
    const std::string wine = FindOnPath("wine");
    if (wine.empty()) return {};
    return {{wine, file}, true};
  }
  return {};
}

}  // namespace platform
