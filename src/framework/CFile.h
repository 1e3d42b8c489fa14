// The framework's file class: a file written from start to end under a name
// of its own and kept under its final name only once it is whole, such as
// the downloaded patch program. A file that is not kept is removed.
#pragma once

#include "framework/CException.h"

// A file operation the system refused: the system's error number and the
// file's name; the error text names both.
class CFileException : public CException {
 public:
  CFileException(int osError, std::string fileName);

  int m_lOsError;
  std::string m_strFileName;
};

class CFile {
 public:
  CFile() = default;
  // Closes a file still open; a failure then is not reported.
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Creates fileName anew for writing: a file of that name left over from an
  // earlier run is replaced, others may read it, and it may be started as a
  // program (mode 0755 less the umask; execute wherever it may be read).
  // Until Commit, the file is removed by Abort, by the destructor, and when
  // the program ends (exit, SIGTERM, SIGINT, SIGHUP). FALSE when it cannot
  // be made so; nothing else is touched.
  BOOL Create(const char* fileName);
  // Writes all count bytes; throws CFileException when the system refuses.
  void Write(const void* buffer, UINT count);
  // Writes the file through to the disk, closes it and renames it to
  // finalName, replacing a file of that name; from then on it stays. Throws
  // CFileException when any of that fails, and the file is removed.
  void Commit(const char* finalName);
  // Closes the file without reporting a failure and removes it unless it
  // was kept: for ending after an error, or before the end.
  void Abort();

 private:
#ifdef _WIN32
  void* file_ = nullptr;  // HANDLE of the open file; null when none is open
#else
  int fd_ = -1;
#endif
  std::string fileName_;
  // The file's absolute path while it waits to be kept; empty otherwise.
  std::string pendingPath_;
};
