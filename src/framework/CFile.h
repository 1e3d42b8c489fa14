// The framework's file class: a file written from start to end, such as the
// downloaded patch program.
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

  // Creates fileName anew for writing: an existing file is emptied, others
  // may still read it, and it may be started as a program (mode 0755 less the
  // umask; an existing file gains execute wherever it may be read). FALSE
  // when the file cannot be made so; an existing file may then have been
  // emptied only when its mode could not be changed.
  BOOL Create(const char* fileName);
  // Writes all count bytes; throws CFileException when the system refuses.
  void Write(const void* buffer, UINT count);
  // Closes the file; throws CFileException when the system reports a failure.
  void Close();
  // Closes the file without reporting a failure: for ending after an error.
  void Abort();

 private:
  int fd_ = -1;
  std::string fileName_;
};
