#include "framework/CFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <system_error>

CFileException::CFileException(int osError, std::string fileName)
    : CException(fileName + ": " + std::generic_category().message(osError)),
      m_lOsError(osError),
      m_strFileName(std::move(fileName)) {}

CFile::~CFile() { Abort(); }

BOOL CFile::Create(const char* fileName) {
  Abort();
  const int fd = ::open(fileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
  if (fd < 0) return FALSE;
  // An existing file keeps its mode through the emptying; it must become startable too.
  struct stat status {};
  if (::fstat(fd, &status) != 0 || ((status.st_mode & S_IXUSR) == 0 &&
                                    ::fchmod(fd, (status.st_mode & 07777) | ((status.st_mode & 0444) >> 2)) != 0)) {
    ::close(fd);
    return FALSE;
  }
  fd_ = fd;
  fileName_ = fileName;
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

void CFile::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) throw CFileException(errno, fileName_);
}

void CFile::Abort() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}
