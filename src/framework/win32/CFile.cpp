#include "framework/CFile.h"

#include "platform/process/PendingFiles.h"

#include <system_error>
#include <utility>

namespace {

// The absolute path of a name in the current directory; empty when it has none.
std::string AbsolutePath(const char* fileName) {
  char path[MAX_PATH];
  const DWORD length = GetFullPathNameA(fileName, MAX_PATH, path, nullptr);
  return length != 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

}  // namespace

CFileException::CFileException(int osError, std::string fileName)
    : CException(fileName + ": " + std::system_category().message(osError)),
      m_lOsError(osError),
      m_strFileName(std::move(fileName)) {}

CFile::~CFile() { Abort(); }

BOOL CFile::Create(const char* fileName) {
  Abort();
  const std::string path = AbsolutePath(fileName);
  // Marked before it exists, so no ending of the program finds it made and unmarked.
  if (path.empty() || !platform::MarkFilePending(path)) return FALSE;
  // A file of that name left over from an earlier run is replaced. Shared
  // for deletion, so that the removal at the program's end takes it while
  // this handle is still open: it goes as the handle closes.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    platform::UnmarkFilePending(path);
    return FALSE;
  }
  file_ = file;
  fileName_ = fileName;
  pendingPath_ = path;
  return TRUE;
}

void CFile::Write(const void* buffer, UINT count) {
  const auto* bytes = static_cast<const char*>(buffer);
  while (count > 0) {
    DWORD written = 0;
    if (!WriteFile(file_, bytes, count, &written, nullptr))
      throw CFileException(static_cast<int>(GetLastError()), fileName_);
    bytes += written;
    count -= written;
  }
}

void CFile::Commit(const char* finalName) {
  const auto fail = [this](DWORD error, std::string name) {
    Abort();
    throw CFileException(static_cast<int>(error), std::move(name));
  };
  if (!FlushFileBuffers(file_)) fail(GetLastError(), fileName_);
  HANDLE file = std::exchange(file_, nullptr);
  if (!CloseHandle(file)) fail(GetLastError(), fileName_);
  if (!MoveFileExA(pendingPath_.c_str(), finalName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail(GetLastError(), finalName);
  }
  platform::UnmarkFilePending(pendingPath_);
  pendingPath_.clear();
}

void CFile::Abort() {
  if (file_ != nullptr) CloseHandle(file_);
  file_ = nullptr;
  if (!pendingPath_.empty()) {
    DeleteFileA(pendingPath_.c_str());
    platform::UnmarkFilePending(pendingPath_);
    pendingPath_.clear();
  }
}
