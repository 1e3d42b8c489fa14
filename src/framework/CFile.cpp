#include "framework/CFile.h"

#include "platform/process/PendingFiles.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>

namespace {

// The absolute path of a name in the current directory; empty when the
// directory has no path.
std::string AbsolutePath(const char* fileName) {
  if (fileName[0] == '/') return fileName;
  char directory[PATH_MAX];
  if (::getcwd(directory, sizeof directory) == nullptr) return {};
  return std::string(directory) + '/' + fileName;
}

}  // namespace

CFileException::CFileException(int osError, std::string fileName)
    : CException(fileName + ": " + std::generic_category().message(osError)),
      m_lOsError(osError),
      m_strFileName(std::move(fileName)) {}

CFile::~CFile() { Abort(); }

BOOL CFile::Create(const char* fileName) {
  Abort();
  const std::string path = AbsolutePath(fileName);
  // Marked before it exists, so no signal finds it made and unmarked.
  if (path.empty() || !platform::MarkFilePending(path)) return FALSE;
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    platform::UnmarkFilePending(path);
    return FALSE;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
  if (fd < 0) {
    platform::UnmarkFilePending(path);
    return FALSE;
  }
  fd_ = fd;
  fileName_ = fileName;
  pendingPath_ = path;
  // A umask that takes the owner's execute bit must not keep the program from starting.
  struct stat status {};
  if (::fstat(fd, &status) != 0 || ((status.st_mode & S_IXUSR) == 0 &&
                                    ::fchmod(fd, (status.st_mode & 07777) | ((status.st_mode & 0444) >> 2)) != 0)) {
    Abort();
    return FALSE;
  }
  return TRUE;
}

void CFile::Write(const void* buffer, UINT count) {
  const auto* bytes = static_cast<const char*>(buffer);
  while (count > 0) {
    const ssize_t written = ::write(fd_, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) throw CFileException(errno, fileName_);
    bytes += written;
    count -= static_cast<UINT>(written);
  }
}

void CFile::Commit(const char* finalName) {
  const auto fail = [this](int error, std::string name) {
    Abort();
    throw CFileException(error, std::move(name));
  };
  if (::fsync(fd_) != 0) fail(errno, fileName_);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) fail(errno, fileName_);
  if (::rename(pendingPath_.c_str(), finalName) != 0) fail(errno, finalName);
  platform::UnmarkFilePending(pendingPath_);
  pendingPath_.clear();
}

void CFile::Abort() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!pendingPath_.empty()) {
    ::unlink(pendingPath_.c_str());
    platform::UnmarkFilePending(pendingPath_);
    pendingPath_.clear();
  }
}
