#include "platform/registry/MachineHive.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return home;
  }
  const passwd* user = getpwuid(getuid());
  return user != nullptr ? user->pw_dir : "";
}

// Reads the whole open file of the given size straight into text; false
// when reading fails or the file has grown beyond kMaxRegistryFileSize
// meanwhile. A file that grew within the bound is read to its end.
bool ReadAll(int fd, off_t size, std::string& text) {
  constexpr auto kLimit = static_cast<std::size_t>(kMaxRegistryFileSize);
  // One byte more than the file holds, so that its end is seen by the first reads.
  text.resize(static_cast<std::size_t>(size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == text.size()) {
      if (text.size() > kLimit) {
        return false;
      }
      text.resize(std::min(text.size() * 2, kLimit + 1));
    }
    const ssize_t n = read(fd, text.data() + filled, text.size() - filled);
    if (n == 0) {
      text.resize(filled);
      return true;
    }
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    filled += static_cast<std::size_t>(n);
  }
}

// Only a regular file within the bound is read: a FIFO, a device, a
// directory or a file of gigabytes is no registry, and reading one would
// wait for ever or take all memory.
bool MayRead(const struct stat& info) { return S_ISREG(info.st_mode) && info.st_size <= kMaxRegistryFileSize; }

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string MachinePrefixFolder() {
  const char* prefix = std::getenv("WINEPREFIX");
  return prefix != nullptr && *prefix != '\0' ? std::string(prefix) : HomeFolder() + "/.wine";
}

std::string MachineRegistryPath() { return MachinePrefixFolder() + kRegistryFileName; }

namespace {

// Whether folder is the prefix folder the environment names now, mostly
// without making a string: this is asked ten times a second.
bool IsPrefixFolder(std::string_view folder) {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
    return folder == prefix;
  }
  constexpr std::string_view kInHome = "/.wine";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return folder.ends_with(kInHome) && folder.substr(0, folder.size() - kInHome.size()) == home;
  }
  return folder == MachinePrefixFolder();
}

}  // namespace

bool MachineHive::FileIdentity::operator==(const FileIdentity& other) const {
  return path == other.path && device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

MachineHive::FileIdentity MachineHive::IdentityOf(const std::string& path, const struct stat& info) {
  return FileIdentity{path, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

std::shared_ptr<const Hive> MachineHive::Current() {
  // This runs ten times a second. While the prefix folder is watched and
  // reports no change, the file is not looked at; a file reached through a
  // symbolic link can change where no watch sees it, and costs a stat(2).
  const bool sameFolder = IsPrefixFolder(watch_.Folder());
  const bool changed = !sameFolder || watch_.MayHaveChanged();
  if (hive_ != nullptr && !changed && !linked_) {
    return hive_;
  }
  const std::string folder = MachinePrefixFolder();
  if (!sameFolder || !watch_.Watching()) {
    watch_.Watch(folder);  // before the look, so that no change after it goes unseen
  }
  const std::string path = folder + kRegistryFileName;
  struct stat info {};
  linked_ = lstat(folder.c_str(), &info) != 0 || S_ISLNK(info.st_mode) || lstat(path.c_str(), &info) != 0 ||
            S_ISLNK(info.st_mode);
  if (stat(path.c_str(), &info) != 0 || !MayRead(info)) {
    Forget();
    return nullptr;
  }
  if (hive_ != nullptr && IdentityOf(path, info) == identity_) {
    return hive_;
  }
  // What lies at the path may have been replaced since the stat: the open
  // never waits (a FIFO without a writer, a terminal), and what it opened is
  // looked at again.
  const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file.Get() < 0 || fstat(file.Get(), &info) != 0 || !MayRead(info)) {
    Forget();
    return nullptr;
  }
  const FileIdentity identity = IdentityOf(path, info);
  if (hive_ != nullptr && identity == identity_) {
    return hive_;
  }
  std::string text;
  if (!ReadAll(file.Get(), info.st_size, text)) {
    Forget();
    return nullptr;
  }
  hive_ = std::make_shared<const Hive>(std::move(text));
  identity_ = identity;
  ++parses_;
  return hive_;
}

void MachineHive::Forget() {
  identity_ = FileIdentity{};
  hive_.reset();
}

MachineHive& ProcessMachineHive() {
  static MachineHive hive;
  return hive;
}
